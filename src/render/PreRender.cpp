#include "render/PreRender.h"

#include "params/ParamTable.h"
#include "plugin/HostSuiteCache.h"
#include "render/Rects.h"
#include "render/RenderParams.h"

namespace solvane {
namespace {

constexpr A_long kAdjustmentLikeFlags = AEGP_LayerFlag_COLLAPSE | AEGP_LayerFlag_ADJUSTMENT_LAYER;
constexpr A_long kInputCheckoutId = 0;

PF_Err LayerIsAdjustmentLike(HostSuiteCache& suites, PF_InData* in_data, bool& adjustmentLike) {
  AEGP_LayerH layer = nullptr;
  if (PF_Err err = suites.PfInterface()->AEGP_GetEffectLayer(in_data->effect_ref, &layer)) {
    return err;
  }
  AEGP_LayerFlags flags = 0;
  if (PF_Err err = suites.Layer()->AEGP_GetLayerFlags(layer, &flags)) return err;
  adjustmentLike = (flags & kAdjustmentLikeFlags) != 0;
  return PF_Err_NONE;
}

// "Buffer Expansion" at the current resolution, in whole pixels.
PF_Err BufferExpansion(PF_InData* in_data, A_long& expansion) {
  PF_ParamDef def{};
  if (PF_Err err = in_data->inter.checkout_param(in_data->effect_ref, kParamBufferExpansion,
                                                 in_data->current_time, in_data->time_step,
                                                 in_data->time_scale, &def)) {
    return err;
  }
  const double value = def.u.fs_d.value;
  if (PF_Err err = in_data->inter.checkin_param(in_data->effect_ref, &def)) return err;
  expansion = TruncateToInt32(value * DownsampleScale(in_data->downsample_x));
  return PF_Err_NONE;
}

}  // namespace

PF_Err PreRenderFrame(PF_InData* in_data, PF_OutData*, PF_PreRenderExtra* extra) {
  if (extra == nullptr || extra->input == nullptr || extra->output == nullptr ||
      extra->cb == nullptr) {
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  HostSuiteCache suites(in_data->pica_basicP);
  bool adjustmentLike = false;
  if (PF_Err err = LayerIsAdjustmentLike(suites, in_data, adjustmentLike)) return err;
  PF_RenderRequest& hostRequest = extra->input->output_request;
  if (!adjustmentLike) hostRequest.rect = {0, 0, in_data->width, in_data->height};
  const PF_RenderRequest request = hostRequest;

  PF_CheckoutResult checkout{};
  if (PF_Err err = extra->cb->checkout_layer(in_data->effect_ref, kParamInput, kInputCheckoutId,
                                             &request, in_data->current_time, in_data->time_step,
                                             in_data->time_scale, &checkout)) {
    return err;
  }
  A_long expansion = 0;
  if (PF_Err err = BufferExpansion(in_data, expansion)) return err;

  PF_PreRenderOutput& out = *extra->output;
  if (RectIsEmpty(checkout.result_rect)) {
    // Nothing of the layer is visible: report its bounds as the most we could return and
    // leave the result as the host set it.
    MergeRectInto(checkout.result_rect, out.max_result_rect);
    MergeRectInto(checkout.max_result_rect, out.max_result_rect);
    return PF_Err_NONE;
  }
  GrowRect(checkout.result_rect, expansion);
  GrowRect(checkout.max_result_rect, expansion);
  MergeRectInto(checkout.result_rect, out.max_result_rect);
  MergeRectInto(checkout.max_result_rect, out.max_result_rect);
  const PF_LRect& source = adjustmentLike ? request.rect : checkout.max_result_rect;
  MergeRectInto(source, out.result_rect);
  MergeRectInto(source, out.max_result_rect);
  out.flags = PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS;
  return PF_Err_NONE;
}

}  // namespace solvane
