#include "host/FrameRender.h"

#include <algorithm>
#include <cstdint>

#include "host/PreRenderCallbacks.h"

namespace solvane::host {
namespace {

constexpr PF_ChannelMask kAllChannels = 0xF;  // alpha, red, green and blue

PF_Err PreRender(Host& host, A_long time, FrameResult& result) {
  PF_PreRenderExtra extra{&result.preRenderInput, &result.preRenderOutput, PreRenderCallbacks()};
  PF_OutData out{};
  return host.SendAt(time, PF_Cmd_SMART_PRE_RENDER, &out, nullptr, nullptr, &extra);
}

PF_Err SmartRender(Host& host, A_long time, const FrameRequest& request, FrameResult& result) {
  PF_SmartRenderInput input{};
  input.output_request = result.preRenderInput.output_request;
  input.bitdepth = A_short(request.depth);
  PF_SmartRenderCallbacks cb = SmartRenderCallbacks();
  PF_SmartRenderExtra extra{&input, &cb};
  return host.SendAt(time, PF_Cmd_SMART_RENDER, &result.renderOutData, nullptr, nullptr, &extra);
}

// The output world for the rectangle pre-render returned: its size, origin (0, 0), the
// whole world as extent_hint. Fails with PF_Err_OUT_OF_MEMORY beyond kMaxOutputBytes.
PF_Err MakeOutput(const PF_LRect& rect, int depth, const FrameRequest& request, World& out) {
  const int64_t width = std::max<int64_t>(0, int64_t(rect.right) - rect.left);
  const int64_t height = std::max<int64_t>(0, int64_t(rect.bottom) - rect.top);
  const int64_t row = width * BytesPerPixel(depth) + request.outputRowPadding;
  if (row * height > kMaxOutputBytes || row > kMaxOutputBytes) return PF_Err_OUT_OF_MEMORY;
  out = World(A_long(width), A_long(height), depth, request.outputRowPadding);
  return PF_Err_NONE;
}

}  // namespace

FrameResult RenderFrameThroughModule(Host& host, const World& input, const FrameRequest& request) {
  FrameResult result;
  FrameContext frame;
  frame.inputRecord = *input.Get();
  FrameScope scope(&frame);
  const A_long time = request.time.value_or(host.Layer().currentTime);
  PF_RenderRequest& req = result.preRenderInput.output_request;
  req.rect = request.request.value_or(PF_LRect{0, 0, input.Width(), input.Height()});
  req.field = PF_Field_FRAME;
  req.channel_mask = kAllChannels;
  result.preRenderInput.bitdepth = A_short(request.depth);
  result.err = PreRender(host, time, result);
  if (result.err != PF_Err_NONE) return result;
  // A depth the host has no world for still reaches the effect, in a world of the input's.
  const int depth = BytesPerPixel(request.depth) != 0 ? request.depth : input.Depth();
  result.err = MakeOutput(result.preRenderOutput.result_rect, depth, request, frame.output);
  if (result.err != PF_Err_NONE || frame.output.Empty()) return result;
  if (request.prepareOutput) request.prepareOutput(frame.output);
  result.rendered = true;
  result.err = SmartRender(host, time, request, result);
  result.output = std::move(frame.output);
  result.transfers = std::move(frame.transfers);
  return result;
}

}  // namespace solvane::host
