// The GPU part of one frame: upload, pre-process pass, placement in the expanded frame,
// ray pass and read-back. Its render targets are the calling thread's kept set; every
// other GL object it creates is deleted before it returns.
#pragma once

#include "gl/PixelView.h"
#include "render/FrameTargets.h"
#include "render/GLResources.h"
#include "render/RenderParams.h"

namespace solvane {

enum class FrameResult {
  kDrawn,
  kNoTargets,  // a render target could not be created
};

// Draws the frame with the calling thread's current context, programs and targets and
// reads the result into output's pixels. Both views must be transferable and of one
// format. kNoTargets, with output untouched and every target deleted, when a render
// target cannot be created (for example a size beyond the GPU's texture limit). An empty
// output is drawn at once.
FrameResult DrawFramePasses(const GLResources& gl, FrameTargets& targets,
                            const RenderParams& params, const PixelView& input,
                            const PixelView& output);

}  // namespace solvane
