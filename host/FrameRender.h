// One frame through the module the way After Effects renders it: PF_Cmd_SMART_PRE_RENDER,
// an output world sized from the rectangle the effect returned, then PF_Cmd_SMART_RENDER
// with the input and that world behind the smart-render callbacks.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "AE_Effect.h"
#include "host/FrameContext.h"
#include "host/Host.h"
#include "host/World.h"

namespace solvane::host {

struct FrameRequest {
  int depth = 8;                    // bitdepth of both commands, normally 8 or 32
  std::optional<A_long> time{};     // current_time; the layer's time when unset
  std::optional<PF_LRect> request{};  // the host's output request; the whole input when unset
  A_long outputRowPadding = 0;      // padding bytes of each output row
  // Called with the output world once it is made, before the smart render: lets a test fill
  // it with a sentinel or hand the effect a damaged record.
  std::function<void(World&)> prepareOutput{};
};

struct FrameResult {
  PF_Err err = PF_Err_NONE;  // the first error: pre-render's, the host's, or smart render's
  bool rendered = false;     // PF_Cmd_SMART_RENDER was issued
  PF_PreRenderInput preRenderInput{};    // the request as pre-render left it
  PF_PreRenderOutput preRenderOutput{};  // what pre-render reported
  PF_OutData renderOutData{};            // out_data of the smart render
  World output;  // result_rect's size, origin (0, 0); empty when that rectangle is
  std::vector<TransferCall> transfers;  // every transfer_rect call of the frame
};

// The largest output world the host allocates; a larger result rectangle fails the frame
// with PF_Err_OUT_OF_MEMORY before the smart render.
inline constexpr int64_t kMaxOutputBytes = int64_t(1) << 31;

// Renders one frame of `input` (the layer at the current resolution; the host's layer
// state should describe it). Safe to call from several threads at once on one host. An
// empty result rectangle skips the smart render: there is nothing to draw.
FrameResult RenderFrameThroughModule(Host& host, const World& input,
                                     const FrameRequest& request = {});

}  // namespace solvane::host
