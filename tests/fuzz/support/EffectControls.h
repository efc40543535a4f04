// The effect's own controls, registered in a stand-in host's parameter store the way the
// module registers them, without loading the module: every control kind the tool's value
// parsing and presets meet.
#pragma once

#include "host/LayerState.h"
#include "host/ParamStore.h"

namespace solvane::fuzz {

// A fresh store holding the effect's 40 controls.
void RegisterEffectControls(host::ParamStore& store);

// A 1920 x 1080 layer at 25 frames a second.
host::LayerState FuzzLayer();

}  // namespace solvane::fuzz
