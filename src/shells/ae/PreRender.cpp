#include "shells/ae/PreRender.h"

#include "core/controls/ControlTable.h"
#include "shells/ae/HostSuiteCache.h"
#include "shells/ae/ControlCheckout.h"
#include "shells/ae/LayerKind.h"
#include "shells/ae/Rects.h"
#include "core/render/RenderParams.h"

namespace solvane {
namespace {

constexpr A_long kInputCheckoutId = 0;

// "Buffer Expansion" at the current resolution, in whole pixels; the only control the
// pre-render needs.
PF_Err BufferExpansion(PF_InData* in_data, A_long& expansion) {
  PF_ParamDef def{};
  if (PF_Err err = in_data->inter.checkout_param(in_data->effect_ref, kParamBufferExpansion,
                                                 in_data->current_time, in_data->time_step,
                                                 in_data->time_scale, &def)) {
    return err;
  }
  const double value = def.u.fs_d.value;
  if (PF_Err err = in_data->inter.checkin_param(in_data->effect_ref, &def)) return err;
  expansion = BufferExpansionPixels(value, DownsampleScale(in_data->downsample_x));
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
  if (PF_Err err = ReadLayerIsAdjustmentLike(suites, in_data, adjustmentLike)) return err;
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
