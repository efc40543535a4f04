// The frame a render thread is working on: the worlds the smart-render callbacks hand out
// and what the effect asked of the host during the frame. Set by RenderFrameThroughModule
// for the duration of its two commands; callbacks reach it through CurrentFrame().
#pragma once

#include <vector>

#include "AE_Effect.h"
#include "host/World.h"

namespace solvane::host {

// The arguments of one transfer_rect call, as the effect passed them.
struct TransferCall {
  PF_Quality quality = 0;
  PF_ModeFlags modeFlags = 0;
  PF_Field field = 0;
  bool hasSourceRect = false;
  PF_Rect sourceRect{};
  PF_CompositeMode mode{};
  bool hasMask = false;
  A_long destX = 0;
  A_long destY = 0;
  bool sourceIsInput = false;        // the source is the frame's input record
  bool destinationIsOutput = false;  // the destination is the frame's output world
};

struct FrameContext {
  // The input as the effect sees it: a per-frame copy of the record, the pixels shared.
  PF_EffectWorld inputRecord{};
  World output;
  bool inputCheckedOut = false;
  bool outputCheckedOut = false;
  std::vector<TransferCall> transfers;
};

// The frame running on the calling thread, or null outside RenderFrameThroughModule.
FrameContext* CurrentFrame();

// Makes `frame` the calling thread's current frame for the scope's life.
class FrameScope {
 public:
  explicit FrameScope(FrameContext* frame);
  ~FrameScope();
  FrameScope(const FrameScope&) = delete;
  FrameScope& operator=(const FrameScope&) = delete;

 private:
  FrameContext* previous_;
};

// The callbacks of PF_SmartRenderExtra: checkout_layer_pixels (checkout id 0, the input),
// checkin_layer_pixels and checkout_output (the output world of the current frame).
PF_SmartRenderCallbacks SmartRenderCallbacks();

}  // namespace solvane::host
