#include "render/SmartRender.h"

#include "plugin/GLResources.h"
#include "plugin/HostSuiteCache.h"
#include "render/FramePasses.h"
#include "render/PixelTransfer.h"
#include "render/RenderParams.h"
#include "render/ThreadResources.h"

namespace solvane {
namespace {

constexpr AEGP_LayerFlags kAdjustmentLikeLayer =
    AEGP_LayerFlag_COLLAPSE | AEGP_LayerFlag_ADJUSTMENT_LAYER;

struct FrameBuffers {
  PF_EffectWorld* input = nullptr;
  PF_EffectWorld* output = nullptr;
};

PF_Err CheckoutBuffers(PF_InData* in_data, const PF_SmartRenderExtra* extra, FrameBuffers& b) {
  PF_Err err = extra->cb->checkout_layer_pixels(in_data->effect_ref, 0, &b.input);
  if (err == PF_Err_NONE) err = extra->cb->checkout_output(in_data->effect_ref, &b.output);
  return err;
}

// The layer kind and where the input sits in the output; the ray centre starts at the
// output's origin and GatherRenderParams adds "Position" to it.
PF_Err ReadPlacement(HostSuiteCache& suites, PF_InData* in_data, const FrameBuffers& b,
                     RenderParams& params) {
  AEGP_LayerH layer = nullptr;
  AEGP_LayerFlags flags = 0;
  PF_Err err = suites.PfInterface()->AEGP_GetEffectLayer(in_data->effect_ref, &layer);
  if (err == PF_Err_NONE) err = suites.Layer()->AEGP_GetLayerFlags(layer, &flags);
  params.isAdjustmentLike = (flags & kAdjustmentLikeLayer) != 0 ? 1 : 0;
  params.offsetX = b.input->origin_x - b.output->origin_x;
  params.offsetY = b.input->origin_y - b.output->origin_y;
  params.posX = -double(b.output->origin_x);
  params.posY = -double(b.output->origin_y);
  return err;
}

// The host draws the unprocessed input over the rays, where the processed copy was placed.
PF_Err Composite(HostSuiteCache& suites, PF_InData* in_data, const RenderParams& params,
                 const FrameBuffers& b) {
  PF_CompositeMode mode{};
  mode.xfer = params.blendMode == 2 ? PF_Xfer_ADD : PF_Xfer_SCREEN;
  mode.rand_seed = 0;
  mode.opacity = static_cast<A_u_char>(static_cast<int>(params.inputOpacity));
  mode.rgb_only = false;
  mode.opacitySu = 0;
  return suites.WorldTransform()->transfer_rect(
      in_data->effect_ref, in_data->quality, PF_MF_Alpha_PREMUL, in_data->field,
      &b.output->extent_hint, b.input, &mode, nullptr, params.offsetX, params.offsetY, b.output);
}

const GLResources* GlobalRecord(const PF_InData* in_data) {
  return in_data->global_data != nullptr ? static_cast<const GLResources*>(*in_data->global_data)
                                         : nullptr;
}

PF_Err RenderCheckedOut(HostSuiteCache& suites, PF_InData* in_data, const FrameBuffers& b,
                        int depth) {
  RenderParams params{};
  PF_Err err = ReadPlacement(suites, in_data, b, params);
  if (err == PF_Err_NONE) err = GatherRenderParams(params, in_data, b.output);
  if (err != PF_Err_NONE) return err;
  // GL would read or write past the host's buffers for these; refuse before any GL work.
  if (!IsTransferableWorld(*b.input, depth) || !IsTransferableWorld(*b.output, depth)) {
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  const GLResources* gl = AcquireThreadResources(GlobalRecord(in_data));
  if (gl == nullptr || gl->context == nullptr) return PF_Err_INTERNAL_STRUCT_DAMAGED;
  err = DrawFramePasses(*gl, ThreadFrameTargets(), params, *b.input, *b.output, depth);
  if (err == PF_Err_NONE && params.view == 3) err = Composite(suites, in_data, params, b);
  if (err == PF_Err_NONE) err = in_data->inter.abort(in_data->effect_ref);
  return err;
}

}  // namespace

PF_Err RenderFrame(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra) {
  HostSuiteCache suites(in_data->pica_basicP);
  // Present for the whole frame although none of its functions is called; released
  // before the cache's suites.
  ScopedSuite worldSuite(in_data, out_data, kPFWorldSuite, kPFWorldSuiteVersion2);
  FrameBuffers buffers;
  const PF_Err err = CheckoutBuffers(in_data, extra, buffers);
  if (err != PF_Err_NONE || buffers.input == nullptr || buffers.output == nullptr) return err;
  return RenderCheckedOut(suites, in_data, buffers, extra->input->bitdepth);
}

}  // namespace solvane
