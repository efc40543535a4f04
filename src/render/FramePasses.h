// The GPU part of one frame: upload, pre-process pass, placement in the expanded frame,
// ray pass and read-back. Every GL object it creates is deleted before it returns.
#pragma once

#include "plugin/GLResources.h"
#include "plugin/HostApi.h"
#include "render/RenderParams.h"

namespace solvane {

// Draws the frame with the calling thread's current context and programs and reads the
// result into output. PF_Err_OUT_OF_MEMORY, with output untouched, when a render target
// cannot be created (for example a size beyond the GPU's texture limit).
PF_Err DrawFramePasses(const GLResources& gl, const RenderParams& params,
                       const PF_EffectWorld& input, PF_EffectWorld& output, int depth);

}  // namespace solvane
