// The GPU part of one frame: upload, pre-process pass, placement in the expanded frame,
// ray pass and read-back. Its render targets are the calling thread's kept set; every
// other GL object it creates is deleted before it returns.
#pragma once

#include <cstdint>

#include "core/gl/PixelView.h"
#include "core/render/FrameTargets.h"
#include "core/render/GLResources.h"
#include "core/render/RenderParams.h"

namespace solvane {

enum class FrameResult {
  kDrawn,
  kNoTargets,  // a render target could not be created
};

// The stages of a frame, in the order a frame issues them (a target's preparation and
// clear come once per target).
enum class FrameStage : uint8_t {
  kTargetPrepared,  // kept, or created
  kTargetCleared,   // where the frame would show what a kept target held; else nothing
  kUpload,
  kPreprocess,
  kPlacement,
  kRays,
  kReadBack,
  kTargetsReleased,  // kept for the thread's next frame, or deleted
};

// Told, on the drawing thread, each time a stage has been issued to GL, so that a caller
// can time the stages of the frame itself (the stage benchmark does, with glFinish).
class FrameStageObserver {
 public:
  virtual ~FrameStageObserver() = default;
  virtual void OnStageIssued(FrameStage stage) = 0;
};

// Draws the frame with the calling thread's current context, programs and targets and
// reads the result into output's pixels. Both views must be transferable and of one
// format. kNoTargets, with output untouched and every target deleted, when a render
// target cannot be created (for example a size beyond the GPU's texture limit). An empty
// output is drawn at once. observer, where given, hears of every stage.
FrameResult DrawFramePasses(const GLResources& gl, FrameTargets& targets,
                            const RenderParams& params, const PixelView& input,
                            const PixelView& output, FrameStageObserver* observer = nullptr);

}  // namespace solvane
