#include "shells/ae/SmartRender.h"

#include "core/render/EffectFrame.h"
#include "core/render/GLResources.h"
#include "core/render/RenderParams.h"
#include "shells/ae/ControlCheckout.h"
#include "shells/ae/HostSuiteCache.h"
#include "shells/ae/LayerKind.h"
#include "shells/ae/PixelTransfer.h"

namespace solvane {
namespace {

struct FrameBuffers {
  PF_EffectWorld* input = nullptr;
  PF_EffectWorld* output = nullptr;
};

PF_Err CheckoutBuffers(PF_InData* in_data, const PF_SmartRenderExtra* extra, FrameBuffers& b) {
  PF_Err err = extra->cb->checkout_layer_pixels(in_data->effect_ref, 0, &b.input);
  if (err == PF_Err_NONE) err = extra->cb->checkout_output(in_data->effect_ref, &b.output);
  return err;
}

// The layer kind, the downsample factor and where the input and the output sit.
PF_Err ReadGeometry(HostSuiteCache& suites, PF_InData* in_data, const FrameBuffers& b,
                    FrameGeometry& frame) {
  const PF_Err err = ReadLayerIsAdjustmentLike(suites, in_data, frame.adjustmentLike);
  frame.downsampleScale = DownsampleScale(in_data->downsample_x);
  frame.inputOffsetX = b.input->origin_x - b.output->origin_x;
  frame.inputOffsetY = b.input->origin_y - b.output->origin_y;
  frame.outputOriginX = b.output->origin_x;
  frame.outputOriginY = b.output->origin_y;
  frame.outputWidth = b.output->width;
  frame.outputHeight = b.output->height;
  return err;
}

// The host draws the unprocessed input over the rays, where the processed copy was placed.
PF_Err Composite(HostSuiteCache& suites, PF_InData* in_data, const RenderParams& params,
                 const FrameComposite& composite, const FrameBuffers& b) {
  PF_CompositeMode mode{};
  mode.xfer = composite.op == pixels::BlendOp::kAdd ? PF_Xfer_ADD : PF_Xfer_SCREEN;
  mode.rand_seed = 0;
  mode.opacity = CompositeOpacity(params);
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

// A thread without usable OpenGL (no context, or programs that did not build) fails with
// 512; a frame beyond what the GPU holds runs out of memory. The thread's context stays
// current afterwards, as this shell has always left it, rather than restoring the one
// current before: After Effects hands an effect's render threads over without a context
// of its own in use, and the thread's next frame finds its context already current.
PF_Err DrawOnThread(const PF_InData* in_data, const RenderParams& params, const PixelView& input,
                    const PixelView& output, FrameComposite& composite) {
  switch (DrawEffectFrame(GlobalRecord(in_data), params, input, output, composite)) {
    case EffectFrameResult::kDrawn:
      return PF_Err_NONE;
    case EffectFrameResult::kNoContext:
    case EffectFrameResult::kNoProgram:
      return PF_Err_INTERNAL_STRUCT_DAMAGED;
    case EffectFrameResult::kNoTargets:
      return PF_Err_OUT_OF_MEMORY;
  }
  return PF_Err_INTERNAL_STRUCT_DAMAGED;
}

PF_Err RenderCheckedOut(HostSuiteCache& suites, PF_InData* in_data, const FrameBuffers& b,
                        int depth) {
  FrameGeometry frame;
  RenderParams params;
  PF_Err err = ReadGeometry(suites, in_data, b, frame);
  if (err == PF_Err_NONE) err = GatherRenderParams(in_data, frame, params);
  if (err != PF_Err_NONE) return err;
  // GL would read or write past the host's buffers for these; refuse before any GL work.
  PixelView input;
  PixelView output;
  if (!TransferableView(*b.input, depth, input) || !TransferableView(*b.output, depth, output)) {
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  FrameComposite composite;
  err = DrawOnThread(in_data, params, input, output, composite);
  if (err == PF_Err_NONE && composite.wanted) err = Composite(suites, in_data, params, composite, b);
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
