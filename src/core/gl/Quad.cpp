#include "Quad.h"

#include "Diagnostics.h"
#include "Pod.h"

namespace solvane {
namespace {

// Clip-space corners in strip order: bottom left, bottom right, top left, top right.
constexpr std::array<float, 16> kQuadPositions = {
    -1.0f, -1.0f, 0.0f, 1.0f, 1.0f, -1.0f, 0.0f, 1.0f,
    -1.0f, 1.0f,  0.0f, 1.0f, 1.0f, 1.0f,  0.0f, 1.0f,
};

std::array<float, 8> QuadTexCoords(bool useTexRect, const TexRect& rect) {
  if (!useTexRect) return {0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f};
  const auto sMin = static_cast<float>(rect[0]);
  const auto tMin = static_cast<float>(rect[1]);
  const auto sMax = static_cast<float>(rect[2]);
  const auto tMax = static_cast<float>(rect[3]);
  return {sMin, tMin, sMax, tMin, sMin, tMax, sMax, tMax};
}

void CreateQuadBuffers(Pod& pod, const std::array<float, 8>& texCoords) {
  if (!pod.buffers.empty()) {
    ReportPodHasBuffers();
    return;
  }
  pod.buffers.resize(2);
  pod.buffers[0] =
      CreateBuffer(kQuadPositions.data(), sizeof(kQuadPositions), GL_ARRAY_BUFFER, GL_STATIC_DRAW);
  pod.buffers[1] =
      CreateBuffer(texCoords.data(), sizeof(texCoords), GL_ARRAY_BUFFER, GL_STATIC_DRAW);
}

}  // namespace

void DrawQuad(const RenderTarget& target, GLuint program, const UniformTable& uniforms,
              bool useTexRect, const TexRect& texRect, bool textureBarrier) {
  Pod pod;
  pod.program = program;
  CreateQuadBuffers(pod, QuadTexCoords(useTexRect, texRect));
  pod.uniforms = uniforms;
  pod.attributes["inVertex"] = {pod.buffers[0], 4, GL_FLOAT, 4 * sizeof(float)};
  pod.attributes["inTexCoord"] = {pod.buffers[1], 2, GL_FLOAT, 2 * sizeof(float)};
  if (textureBarrier && glTextureBarrierNV != nullptr) glTextureBarrierNV();

  const Viewport viewport{0, 0, target.attachment.width, target.attachment.height};
  DrawPod(target, viewport, pod);

  // Vertex buffers are not shared between the per-thread contexts and nothing is cached
  // between draws, so each draw makes and deletes its own.
  glDeleteBuffers(static_cast<GLsizei>(pod.buffers.size()), pod.buffers.data());
  pod.buffers.clear();
}

}  // namespace solvane
