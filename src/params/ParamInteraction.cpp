#include "params/ParamInteraction.h"

#include "params/ParamTable.h"
#include "platform/OpenWebPage.h"
#include "plugin/HostSuiteCache.h"

namespace solvane {
namespace {

constexpr AEGP_PluginID kNoPluginId = 0;

// Host calls chain: each runs only while nothing before it failed, the first error wins.
void Chain(PF_Err& result, PF_Err next) {
  if (result == PF_Err_NONE) result = next;
}

// Shows or hides one control through its parameter stream. The stream is disposed of on
// every way out, also when the dynamic stream suite turns out to be missing.
PF_Err SetStreamHidden(HostSuiteCache& suites, AEGP_EffectRefH effect, PF_ParamIndex index,
                       bool hidden) {
  if (effect == nullptr) return PF_Err_NONE;
  AEGP_StreamRefH stream = nullptr;
  PF_Err err = suites.Stream()->AEGP_GetNewEffectStreamByIndex(kNoPluginId, effect, index, &stream);
  try {
    if (err == PF_Err_NONE) {
      err = suites.DynamicStream()->AEGP_SetDynamicStreamFlag(stream, AEGP_DynStreamFlag_HIDDEN,
                                                              false, hidden);
    }
  } catch (...) {
    if (stream != nullptr) suites.Stream()->AEGP_DisposeStream(stream);
    throw;
  }
  if (stream != nullptr) Chain(err, suites.Stream()->AEGP_DisposeStream(stream));
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

// Runs `steps` with this instance's AEGP effect handle and disposes of the handle on
// every way out. An error getting the handle skips the steps and is the result.
template <typename Steps>
PF_Err WithEffectHandle(HostSuiteCache& suites, PF_InData* in_data, Steps&& steps) {
  AEGP_EffectRefH effect = nullptr;
  PF_Err err =
      suites.PfInterface()->AEGP_GetNewEffectForEffect(kNoPluginId, in_data->effect_ref, &effect);
  try {
    if (err == PF_Err_NONE) err = steps(effect);
  } catch (...) {
    if (effect != nullptr) {
      try {
        suites.Effect()->AEGP_DisposeEffect(effect);
      } catch (...) {
        // Without the effect suite the handle cannot be given back; the first error stands.
      }
    }
    throw;
  }
  if (effect != nullptr) Chain(err, suites.Effect()->AEGP_DisposeEffect(effect));
  return err;
}

A_long PopupValue(PF_ParamDef* params[], PF_ParamIndex index) {
  return params != nullptr && params[index] != nullptr ? params[index]->u.pd.value : 0;
}

// Spin shows its angle; Zoom shows its length and direction.
PF_Err ApplyMode(HostSuiteCache& suites, PF_InData* in_data, A_long mode) {
  const bool zoom = mode == kModeZoom;
  return WithEffectHandle(suites, in_data, [&](AEGP_EffectRefH effect) {
    PF_Err err = SetStreamHidden(suites, effect, kParamSpinAmount, zoom);
    if (err == PF_Err_NONE) err = SetStreamHidden(suites, effect, kParamLength, !zoom);
    if (err == PF_Err_NONE) err = SetStreamHidden(suites, effect, kParamDirection, !zoom);
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
    const bool disabled = PopupValue(params, kParamView) != kViewFinalComposite;
    const bool custom = PopupValue(params, kParamQuality) == kQualityCustom;
    PF_Err err = SetParamDisabled(suites, in_data, params, kParamInputOpacity,
                                  PF_Param_FLOAT_SLIDER, disabled);
    if (err == PF_Err_NONE) {
      err = SetParamDisabled(suites, in_data, params, kParamBlendMode, PF_Param_POPUP, disabled);
    }
    if (err == PF_Err_NONE) {
      err = SetParamDisabled(suites, in_data, params, kParamUnmult, PF_Param_CHECKBOX, disabled);
    }
    if (err == PF_Err_NONE) err = SetStreamHidden(suites, effect, kParamSamples, !custom);
    if (err == PF_Err_NONE) err = SetStreamHidden(suites, effect, kParamNoise, !custom);
    if (err == PF_Err_NONE) err = SetStreamHidden(suites, effect, kParamDebugGroup, true);
    return err;
  });
}

}  // namespace solvane
