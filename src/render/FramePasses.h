// The GPU part of one frame: upload, pre-process pass, placement in the expanded frame,
// ray pass and read-back. Its render targets are the calling thread's kept set; every
// other GL object it creates is deleted before it returns.
#pragma once

#include "plugin/GLResources.h"
#include "plugin/HostApi.h"
#include "render/FrameTargets.h"
#include "render/RenderParams.h"

namespace solvane {

// Draws the frame with the calling thread's current context, programs and targets and
// reads the result into output. PF_Err_OUT_OF_MEMORY, with output untouched and every
// target deleted, when a render target cannot be created (for example a size beyond the
// GPU's texture limit).
PF_Err DrawFramePasses(const GLResources& gl, FrameTargets& targets, const RenderParams& params,
                       const PF_EffectWorld& input, PF_EffectWorld& output, int depth);

}  // namespace solvane
