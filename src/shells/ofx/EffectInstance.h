// One instance of the effect in a host: the host's handles for its clips and parameters,
// looked up once at creation. It holds no pixels and no GL: render threads have their own.
#pragma once

#include <array>

#include "core/controls/ControlTable.h"
#include "core/controls/ControlValues.h"
#include "ofxImageEffect.h"

namespace solvane::ofx {

struct EffectInstance {
  OfxImageEffectHandle effect = nullptr;
  OfxImageClipHandle source = nullptr;
  OfxImageClipHandle output = nullptr;
  std::array<OfxParamHandle, kParamCount> param{};  // by host index; null where not shown
};

// The control values at `time`, as the host holds them: "Position" in canonical
// coordinates (y up), every other control in its own units. Fails with the first error.
struct HostControls {
  ControlValues values;
  double positionX = 0;
  double positionY = 0;
};
OfxStatus ReadControls(const EffectInstance& instance, OfxTime time, HostControls& controls);

OfxStatus CreateInstance(OfxImageEffectHandle effect);
OfxStatus DestroyInstance(OfxImageEffectHandle effect);
// The instance the host keeps for `effect`, or null.
EffectInstance* InstanceOf(OfxImageEffectHandle effect);

// Shows, hides, greys and enables the parameters by the interface rules for the current
// values (at `time`).
OfxStatus ApplyUiRules(const EffectInstance& instance, OfxTime time);

}  // namespace solvane::ofx
