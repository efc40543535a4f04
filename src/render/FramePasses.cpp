#include "render/FramePasses.h"

#include <GL/glew.h>

#include "gl/Quad.h"
#include "gl/RenderTarget.h"
#include "render/FrameUniforms.h"

namespace solvane {
namespace {

struct FrameContext {
  const GLResources& gl;
  const RenderParams& params;
  GLenum wrap;
  int depth;
  UniformTable uniforms;
};

// The input target is not cleared: the upload replaces every texel of it at once.
enum class Clear { kNo, kYes };

bool CreateTarget(RenderTarget& target, GLint width, GLint height, GLenum wrap, Clear clear) {
  CreateRenderTarget(target, width, height, wrap, GL_RGBA32F);
  if (target.framebuffer == 0) return false;
  if (clear == Clear::kYes) ClearRenderTarget(target);
  return true;
}

// The input uploaded and thresholded, in a target of the input's size.
bool PreprocessInput(FrameContext& frame, const PF_EffectWorld& input, RenderTarget& result) {
  RenderTarget inputTarget;
  if (!CreateTarget(result, input.width, input.height, frame.wrap, Clear::kYes)) return false;
  if (!CreateTarget(inputTarget, input.width, input.height, frame.wrap, Clear::kNo)) {
    DeleteRenderTarget(&result);
    return false;
  }
  UploadToTexture(inputTarget.attachment.texture, input, frame.depth);
  RecordPreprocessUniforms(frame.uniforms, frame.params, inputTarget.attachment.texture);
  DrawQuad(result, frame.gl.preprocessProgram, frame.uniforms, false, {}, false);
  DeleteRenderTarget(&inputTarget);
  return true;
}

// A one-to-one copy at the layer's offset; what falls outside the frame is dropped.
void PlaceInFrame(const RenderTarget& source, const RenderTarget& frame, GLint x, GLint y) {
  const GLint w = source.attachment.width;
  const GLint h = source.attachment.height;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, source.framebuffer);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, frame.framebuffer);
  glBlitFramebuffer(0, 0, w, h, x, y, x + w, y + h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
}

bool DrawRays(FrameContext& frame, const RenderTarget& placed, PF_EffectWorld& output) {
  RenderTarget rayTarget;
  if (!CreateTarget(rayTarget, output.width, output.height, frame.wrap, Clear::kYes)) return false;
  RecordRayUniforms(frame.uniforms, frame.params, placed.attachment.texture);
  DrawQuad(rayTarget, frame.gl.rayProgram, frame.uniforms, false, {}, false);
  ReadRenderTarget(rayTarget, output, frame.depth, GL_COLOR_ATTACHMENT0);
  DeleteRenderTarget(&rayTarget);
  return true;
}

bool DrawPasses(FrameContext& frame, const PF_EffectWorld& input, PF_EffectWorld& output) {
  RenderTarget preprocessed, placed;
  const bool hasInput = input.width > 0 && input.height > 0;
  if (hasInput && !PreprocessInput(frame, input, preprocessed)) return false;
  if (!CreateTarget(placed, output.width, output.height, frame.wrap, Clear::kYes)) {
    DeleteRenderTarget(&preprocessed);
    return false;
  }
  if (hasInput) PlaceInFrame(preprocessed, placed, frame.params.offsetX, frame.params.offsetY);
  DeleteRenderTarget(&preprocessed);
  bool drawn = true;
  if (frame.params.view == 1) {
    ReadRenderTarget(placed, output, frame.depth, GL_COLOR_ATTACHMENT0);
  } else {
    drawn = DrawRays(frame, placed, output);
  }
  DeleteRenderTarget(&placed);
  return drawn;
}

}  // namespace

PF_Err DrawFramePasses(const GLResources& gl, const RenderParams& params,
                       const PF_EffectWorld& input, PF_EffectWorld& output, int depth) {
  if (output.width <= 0 || output.height <= 0) return PF_Err_NONE;  // nothing to draw into
  FrameContext frame{gl, params, GLenum(params.repeatEdges ? GL_MIRRORED_REPEAT : GL_CLAMP_TO_BORDER),
                     depth, {}};
  const bool drawn = DrawPasses(frame, input, output);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glBindTexture(GL_TEXTURE_2D, 0);
  if (drawn) return PF_Err_NONE;
  // The refused texture left an error in GL's flag; drop it here so the thread's next
  // frame does not report it against whatever it checks first.
  while (glGetError() != GL_NO_ERROR) {
  }
  return PF_Err_OUT_OF_MEMORY;
}

}  // namespace solvane
