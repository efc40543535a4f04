// The uniform values of the frame's two passes, recorded by name into the frame's one
// table. Entries of the first pass stay in the table when the second pass is recorded.
#pragma once

#include "core/gl/UniformValue.h"
#include "core/render/RenderParams.h"

namespace solvane {

void RecordPreprocessUniforms(UniformTable& uniforms, const RenderParams& params,
                              GLuint inputTexture);
void RecordRayUniforms(UniformTable& uniforms, const RenderParams& params,
                       GLuint placedTexture);

}  // namespace solvane
