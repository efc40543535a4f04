#include "host/AegpSuites.h"

#include "AE_EffectSuites.h"
#include "AE_GeneralPlug.h"
#include "host/Host.h"

namespace solvane::host {
namespace {

// Calls that carry no effect_ref belong to the host whose command is running.
Host* Entered(Host* host, const char* call, A_Err& err) {
  err = host == nullptr ? A_Err_PARAMETER : host->Enter(call);
  return err == A_Err_NONE ? host : nullptr;
}

A_Err GetEffectLayer(PF_ProgPtr effect_ref, AEGP_LayerH* layer) {
  A_Err err = A_Err_NONE;
  Host* host = Entered(Host::FromEffectRef(effect_ref), "AEGP_GetEffectLayer", err);
  if (host == nullptr) return err;
  if (layer == nullptr) return A_Err_PARAMETER;
  *layer = host->Aegp().Layer();
  return A_Err_NONE;
}

A_Err GetNewEffectForEffect(AEGP_PluginID, PF_ProgPtr effect_ref, AEGP_EffectRefH* effect) {
  A_Err err = A_Err_NONE;
  Host* host = Entered(Host::FromEffectRef(effect_ref), "AEGP_GetNewEffectForEffect", err);
  if (host == nullptr) return err;
  if (effect == nullptr) return A_Err_PARAMETER;
  *effect = host->Aegp().NewEffect();
  return A_Err_NONE;
}

A_Err GetLayerFlags(AEGP_LayerH layer, AEGP_LayerFlags* flags) {
  A_Err err = A_Err_NONE;
  Host* host = Entered(Host::Current(), "AEGP_GetLayerFlags", err);
  if (host == nullptr) return err;
  if (flags == nullptr || layer != host->Aegp().Layer()) return A_Err_PARAMETER;
  *flags = host->Layer().kind == LayerKind::kAdjustment ? AEGP_LayerFlag_ADJUSTMENT_LAYER
                                                        : AEGP_LayerFlag_NONE;
  return A_Err_NONE;
}

A_Err DisposeEffect(AEGP_EffectRefH effect) {
  A_Err err = A_Err_NONE;
  Host* host = Entered(Host::Current(), "AEGP_DisposeEffect", err);
  if (host == nullptr) return err;
  return host->Aegp().DisposeEffect(effect) ? A_Err_NONE : A_Err_PARAMETER;
}

A_Err GetNewEffectStreamByIndex(AEGP_PluginID, AEGP_EffectRefH effect, PF_ParamIndex index,
                                AEGP_StreamRefH* stream) {
  A_Err err = A_Err_NONE;
  Host* host = Entered(Host::Current(), "AEGP_GetNewEffectStreamByIndex", err);
  if (host == nullptr) return err;
  if (stream == nullptr || !host->Aegp().EffectLive(effect) || index < 1 ||
      index > host->Params().Count()) {
    return A_Err_PARAMETER;
  }
  *stream = host->Aegp().NewStream(effect, index);
  return A_Err_NONE;
}

A_Err DisposeStream(AEGP_StreamRefH stream) {
  A_Err err = A_Err_NONE;
  Host* host = Entered(Host::Current(), "AEGP_DisposeStream", err);
  if (host == nullptr) return err;
  return host->Aegp().DisposeStream(stream) ? A_Err_NONE : A_Err_PARAMETER;
}

A_Err SetDynamicStreamFlag(AEGP_StreamRefH stream, AEGP_DynStreamFlags flag, A_Boolean,
                           A_Boolean set) {
  A_Err err = A_Err_NONE;
  Host* host = Entered(Host::Current(), "AEGP_SetDynamicStreamFlag", err);
  if (host == nullptr) return err;
  const PF_ParamIndex index = host->Aegp().StreamIndex(stream);
  if (index == 0) return A_Err_PARAMETER;
  return host->Params().SetDynamicFlag(index, flag, set != 0);
}

PF_Err UpdateParamUI(PF_ProgPtr effect_ref, PF_ParamIndex index, const PF_ParamDef* def) {
  A_Err err = A_Err_NONE;
  Host* host = Entered(Host::FromEffectRef(effect_ref), "PF_UpdateParamUI", err);
  if (host == nullptr) return err;
  if (def == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  return host->Params().UpdateUi(index, *def);
}

const AEGP_PFInterfaceSuite1 kPfInterfaceSuite = {GetEffectLayer, GetNewEffectForEffect, nullptr,
                                                  nullptr, nullptr};
const AEGP_LayerSuite7 kLayerSuite = [] {
  AEGP_LayerSuite7 suite{};
  suite.AEGP_GetLayerFlags = GetLayerFlags;
  return suite;
}();
const AEGP_EffectSuite2 kEffectSuite = [] {
  AEGP_EffectSuite2 suite{};
  suite.AEGP_DisposeEffect = DisposeEffect;
  return suite;
}();
const AEGP_StreamSuite2 kStreamSuite = [] {
  AEGP_StreamSuite2 suite{};
  suite.AEGP_GetNewEffectStreamByIndex = GetNewEffectStreamByIndex;
  suite.AEGP_DisposeStream = DisposeStream;
  return suite;
}();
const AEGP_DynamicStreamSuite2 kDynamicStreamSuite = [] {
  AEGP_DynamicStreamSuite2 suite{};
  suite.AEGP_SetDynamicStreamFlag = SetDynamicStreamFlag;
  return suite;
}();
const PF_ParamUtilsSuite3 kParamUtilsSuite = [] {
  PF_ParamUtilsSuite3 suite{};
  suite.PF_UpdateParamUI = UpdateParamUI;
  return suite;
}();

}  // namespace

void OfferAegpSuites(SuiteRegistry& suites) {
  suites.Offer(kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1, &kPfInterfaceSuite);
  suites.Offer(kAEGPLayerSuite, kAEGPLayerSuiteVersion7, &kLayerSuite);
  suites.Offer(kAEGPEffectSuite, kAEGPEffectSuiteVersion2, &kEffectSuite);
  suites.Offer(kAEGPStreamSuite, kAEGPStreamSuiteVersion2, &kStreamSuite);
  suites.Offer(kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion2, &kDynamicStreamSuite);
  suites.Offer(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, &kParamUtilsSuite);
}

}  // namespace solvane::host
