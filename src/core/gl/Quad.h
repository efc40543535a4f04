// The full-screen quad: every GPU pass of the effect is one program drawn over it into
// one render target.
#pragma once

#include <array>

#include "RenderTarget.h"
#include "UniformValue.h"
#include "GLApi.h"

namespace solvane {

// (sMin, tMin, sMax, tMax), used in place of the default (0, 0, 1, 1) texture coordinates
// when useTexRect is set.
using TexRect = std::array<double, 4>;

// Draws program over the whole target with the recorded uniforms. The quad's buffers and
// vertex array exist only during the call. textureBarrier lets the draw sample a texture
// it also renders to, where the driver offers NV_texture_barrier.
void DrawQuad(const RenderTarget& target, GLuint program, const UniformTable& uniforms,
              bool useTexRect, const TexRect& texRect, bool textureBarrier);

}  // namespace solvane
