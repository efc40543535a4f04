#include "shells/ofx/EffectInstance.h"

#include <algorithm>
#include <memory>
#include <new>
#include <string>

#include "core/controls/ControlFields.h"
#include "core/controls/UiRules.h"
#include "shells/ofx/HostSuites.h"
#include "shells/ofx/ParamTable.h"
#include "shells/ofx/Properties.h"

namespace solvane::ofx {
namespace {

OfxStatus ReadInt(const EffectInstance& instance, ControlIndex control, OfxTime time, int& v) {
  return Suites().param->paramGetValueAtTime(instance.param[control], time, &v);
}

OfxStatus ReadDouble(const EffectInstance& instance, ControlIndex control, OfxTime time,
                     double& v) {
  return Suites().param->paramGetValueAtTime(instance.param[control], time, &v);
}

// Popups arrive as choice options, Samples as an integer; everything else is a double.
OfxStatus ReadPopupsAndSwitches(const EffectInstance& instance, OfxTime time, ControlValues& v) {
  OfxStatus status = kOfxStatOK;
  for (const auto& row : control_fields::kPopups) {
    int option = 0;
    status = FirstError(status, ReadInt(instance, row.index, time, option));
    v.*row.field = ItemOfOption(row.index, option);
  }
  for (const auto& row : control_fields::kCheckboxes) {
    int on = 0;
    status = FirstError(status, ReadInt(instance, row.index, time, on));
    v.*row.field = on != 0;
  }
  return status;
}

OfxStatus ReadNumbers(const EffectInstance& instance, OfxTime time, ControlValues& v) {
  OfxStatus status = kOfxStatOK;
  for (const auto& row : control_fields::kSliders) {
    const ParamRow* param = ParamOf(row.index);
    if (param == nullptr) continue;  // the Debug sliders keep their defaults
    double value = 0;
    if (param->kind == ParamKind::kInteger) {
      int whole = 0;
      status = FirstError(status, ReadInt(instance, row.index, time, whole));
      value = whole;
    } else {
      status = FirstError(status, ReadDouble(instance, row.index, time, value));
    }
    v.*row.field = HeldValue(row.index, value);
  }
  double spin = 0;
  status = FirstError(status, ReadDouble(instance, kParamSpinAmount, time, spin));
  v.spinAmount = HeldValue(kParamSpinAmount, spin);
  return status;
}

OfxStatus LookUpHandles(EffectInstance& instance) {
  const HostSuites& s = Suites();
  OfxStatus status = s.effect->clipGetHandle(instance.effect, kOfxImageEffectSimpleSourceClipName,
                                             &instance.source, nullptr);
  status = FirstError(status, s.effect->clipGetHandle(instance.effect,
                                                      kOfxImageEffectOutputClipName,
                                                      &instance.output, nullptr));
  OfxParamSetHandle params = nullptr;
  status = FirstError(status, s.effect->getParamSet(instance.effect, &params));
  for (const ParamRow& param : Params()) {
    if (status != kOfxStatOK) break;
    const std::string name(param.name);
    status = s.param->paramGetHandle(params, name.c_str(), &instance.param[param.control],
                                     nullptr);
  }
  // Some hosts answer OK with no handle for a name they do not know.
  const bool complete = instance.source != nullptr && instance.output != nullptr &&
                        std::all_of(Params().begin(), Params().end(), [&](const ParamRow& p) {
                          return instance.param[p.control] != nullptr;
                        });
  return status != kOfxStatOK || complete ? status : kOfxStatErrBadHandle;
}

OfxStatus EffectProperties(OfxImageEffectHandle effect, OfxPropertySetHandle& props) {
  return Suites().effect->getPropertySet(effect, &props);
}

OfxStatus SetShown(const EffectInstance& instance, const ParamRow& param, const ControlUi& ui) {
  OfxPropertySetHandle props = nullptr;
  const OfxStatus status = Suites().param->paramGetPropertySet(instance.param[param.control],
                                                               &props);
  if (status != kOfxStatOK) return status;
  return PropertyWriter(props)
      .Int(kOfxParamPropSecret, ui.hidden ? 1 : 0)
      .Int(kOfxParamPropEnabled, ui.disabled ? 0 : 1)
      .Status();
}

}  // namespace

OfxStatus ReadControls(const EffectInstance& instance, OfxTime time, HostControls& controls) {
  ControlValues& v = controls.values;
  v = DefaultControlValues(0, 0);
  OfxStatus status = ReadPopupsAndSwitches(instance, time, v);
  status = FirstError(status, ReadNumbers(instance, time, v));
  return FirstError(status, Suites().param->paramGetValueAtTime(instance.param[kParamPosition],
                                                                time, &controls.positionX,
                                                                &controls.positionY));
}

OfxStatus CreateInstance(OfxImageEffectHandle effect) {
  auto instance = std::unique_ptr<EffectInstance>(new (std::nothrow) EffectInstance);
  if (!instance) return kOfxStatErrMemory;
  instance->effect = effect;
  OfxPropertySetHandle props = nullptr;
  OfxStatus status = LookUpHandles(*instance);
  status = FirstError(status, EffectProperties(effect, props));
  status = FirstError(status, ApplyUiRules(*instance, 0));
  if (status == kOfxStatOK) {
    status = PropertyWriter(props).Pointer(kOfxPropInstanceData, instance.get()).Status();
  }
  // A failed creation is never destroyed by the host: nothing of it may outlive this call.
  if (status == kOfxStatOK) instance.release();
  return status;
}

OfxStatus DestroyInstance(OfxImageEffectHandle effect) {
  EffectInstance* instance = InstanceOf(effect);
  if (instance == nullptr) return kOfxStatErrBadHandle;
  OfxPropertySetHandle props = nullptr;
  if (EffectProperties(effect, props) == kOfxStatOK) {
    PropertyWriter(props).Pointer(kOfxPropInstanceData, nullptr);
  }
  delete instance;
  return kOfxStatOK;
}

EffectInstance* InstanceOf(OfxImageEffectHandle effect) {
  OfxPropertySetHandle props = nullptr;
  void* data = nullptr;
  if (EffectProperties(effect, props) != kOfxStatOK ||
      GetPointer(props, kOfxPropInstanceData, 0, data) != kOfxStatOK) {
    return nullptr;
  }
  return static_cast<EffectInstance*>(data);
}

OfxStatus ApplyUiRules(const EffectInstance& instance, OfxTime time) {
  int mode = 0, quality = 0, view = 0;
  OfxStatus status = ReadInt(instance, kParamMode, time, mode);
  status = FirstError(status, ReadInt(instance, kParamQuality, time, quality));
  status = FirstError(status, ReadInt(instance, kParamView, time, view));
  if (status != kOfxStatOK) return status;
  const UiState ui = UiRules(ItemOfOption(kParamMode, mode), ItemOfOption(kParamQuality, quality),
                             ItemOfOption(kParamView, view));
  for (const ParamRow& param : Params()) {
    status = FirstError(status, SetShown(instance, param, ui[param.control]));
  }
  return status;
}

}  // namespace solvane::ofx
