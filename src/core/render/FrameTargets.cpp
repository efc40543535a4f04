#include "core/render/FrameTargets.h"

namespace solvane {
namespace {

constexpr size_t kBytesPerTexel = 16;  // GL_RGBA32F

size_t TargetBytes(const RenderTarget& target) {
  if (target.framebuffer == 0) return 0;
  return size_t(target.attachment.width) * size_t(target.attachment.height) * kBytesPerTexel;
}

void SetWrap(GLuint texture, GLenum wrap) {
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrap));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrap));
  glBindTexture(GL_TEXTURE_2D, 0);
}

}  // namespace

bool PrepareFrameTarget(RenderTarget& slot, GLint width, GLint height, GLenum wrap) {
  const TextureAttachment& a = slot.attachment;
  if (slot.framebuffer != 0 && a.width == width && a.height == height) {
    SetWrap(a.texture, wrap);
    return true;
  }
  // The old one goes first, so that a thread never holds both.
  DeleteRenderTarget(&slot);
  CreateRenderTarget(slot, width, height, wrap, GL_RGBA32F);
  return slot.framebuffer != 0;
}

size_t FrameTargetBytes(const FrameTargets& targets) {
  return TargetBytes(targets.preprocess) + TargetBytes(targets.input) +
         TargetBytes(targets.placed) + TargetBytes(targets.rays);
}

void EndFrameTargets(FrameTargets& targets, size_t budget) {
  if (FrameTargetBytes(targets) > budget) DeleteFrameTargets(targets);
}

void DeleteFrameTargets(FrameTargets& targets) {
  for (RenderTarget* target :
       {&targets.preprocess, &targets.input, &targets.placed, &targets.rays}) {
    DeleteRenderTarget(target);
  }
}

}  // namespace solvane
