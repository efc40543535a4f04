#include "shells/ae/ParamInteraction.h"

#include "core/controls/ControlTable.h"
#include "core/controls/UiRules.h"
#include "shells/ae/OpenWebPage.h"
#include "shells/ae/AegpHandles.h"
#include "shells/ae/HostSuiteCache.h"

namespace solvane {
namespace {

// Host calls chain: `call` runs only while nothing before it failed, and the first error
// is the result. A handle that was obtained is disposed of whatever failed (see
// AegpHandles.h); its disposal's error counts only when nothing failed before.
template <typename Call>
void Chain(PF_Err& result, Call&& call) {
  if (result == PF_Err_NONE) result = call();
}
void KeepFirstError(PF_Err& result, PF_Err next) {
  if (result == PF_Err_NONE) result = next;
}

// Shows or hides one control through its parameter stream.
PF_Err SetStreamHidden(HostSuiteCache& suites, AEGP_EffectRefH effect, PF_ParamIndex index,
                       bool hidden) {
  if (effect == nullptr) return PF_Err_NONE;
  ScopedStream stream(suites);
  PF_Err err = stream.Obtain(effect, index);
  Chain(err, [&] {
    return suites.DynamicStream()->AEGP_SetDynamicStreamFlag(
        stream.get(), AEGP_DynStreamFlag_HIDDEN, false, hidden);
  });
  KeepFirstError(err, stream.Dispose());
  return err;
}

// Greys a control out, or makes it editable again, through a copy of the definition the
// host passed for it.
PF_Err SetParamDisabled(HostSuiteCache& suites, PF_InData* in_data, PF_ParamDef* params[],
                        PF_ParamIndex index, PF_ParamType kind, bool disabled) {
  if (params == nullptr || params[index] == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  PF_ParamDef copy = *params[index];
  copy.param_type = kind;
  copy.flags |= PF_ParamFlag_COLLAPSE_TWIRLY;
  if (disabled) {
    copy.ui_flags |= PF_PUI_DISABLED;
  } else {
    copy.ui_flags &= ~PF_PUI_DISABLED;
  }
  return suites.ParamUtils()->PF_UpdateParamUI(in_data->effect_ref, index, &copy);
}

// Runs `steps` with this instance's AEGP effect handle, which is disposed of afterwards.
// An error getting the handle skips the steps and is the result.
template <typename Steps>
PF_Err WithEffectHandle(HostSuiteCache& suites, PF_InData* in_data, Steps&& steps) {
  ScopedEffectHandle effect(suites);
  PF_Err err = effect.Obtain(in_data->effect_ref);
  Chain(err, [&] { return steps(effect.get()); });
  KeepFirstError(err, effect.Dispose());
  return err;
}

A_long PopupValue(PF_ParamDef* params[], PF_ParamIndex index) {
  return params != nullptr && params[index] != nullptr ? params[index]->u.pd.value : 0;
}

// The controls a Mode change shows or hides (the other rules' controls are left as the
// host has them until it asks for the interface to be updated).
PF_Err ApplyMode(HostSuiteCache& suites, PF_InData* in_data, A_long mode) {
  const UiState ui = UiRules(mode, 0, 0);
  return WithEffectHandle(suites, in_data, [&](AEGP_EffectRefH effect) {
    const auto hide = [&](ControlIndex index) {
      return SetStreamHidden(suites, effect, index, ui[index].hidden);
    };
    PF_Err err = hide(kParamSpinAmount);
    Chain(err, [&] { return hide(kParamLength); });
    Chain(err, [&] { return hide(kParamDirection); });
    return err;
  });
}

}  // namespace

PF_Err HandleUserChangedParam(PF_InData* in_data, PF_OutData*, PF_ParamDef* params[], PF_LayerDef*,
                              const PF_UserChangedParamExtra* extra) {
  if (extra == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  switch (extra->param_index) {
    case kParamVersion:
      OpenWebPage(kMakerWebPage);
      return PF_Err_NONE;
    case kParamMode: {
      if (params == nullptr || params[kParamMode] == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
      HostSuiteCache suites(in_data->pica_basicP);
      return ApplyMode(suites, in_data, PopupValue(params, kParamMode));
    }
    default:
      return PF_Err_NONE;
  }
}

PF_Err UpdateParamsUI(PF_InData* in_data, PF_OutData*, PF_ParamDef* params[], PF_LayerDef*) {
  if (params == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  HostSuiteCache suites(in_data->pica_basicP);
  return WithEffectHandle(suites, in_data, [&](AEGP_EffectRefH effect) {
    const UiState ui = UiRules(PopupValue(params, kParamMode),
                               PopupValue(params, kParamQuality), PopupValue(params, kParamView));
    const auto disable = [&](ControlIndex index, PF_ParamType kind) {
      return SetParamDisabled(suites, in_data, params, index, kind, ui[index].disabled);
    };
    const auto hide = [&](ControlIndex index) {
      return SetStreamHidden(suites, effect, index, ui[index].hidden);
    };
    PF_Err err = disable(kParamInputOpacity, PF_Param_FLOAT_SLIDER);
    Chain(err, [&] { return disable(kParamBlendMode, PF_Param_POPUP); });
    Chain(err, [&] { return disable(kParamUnmult, PF_Param_CHECKBOX); });
    Chain(err, [&] { return hide(kParamSamples); });
    Chain(err, [&] { return hide(kParamNoise); });
    Chain(err, [&] { return hide(kParamDebugGroup); });
    return err;
  });
}

}  // namespace solvane
