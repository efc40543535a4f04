#include "core/render/FramePasses.h"

#include "core/gl/GLApi.h"

#include "core/gl/Quad.h"
#include "core/gl/RenderTarget.h"
#include "core/controls/ControlChoices.h"
#include "core/render/FrameTargets.h"
#include "core/render/FrameUniforms.h"

namespace solvane {
namespace {

struct FrameContext {
  const GLResources& gl;
  FrameTargets& targets;
  const RenderParams& params;
  GLenum wrap;
  FrameStageObserver* observer;
  UniformTable uniforms;
};

void Issued(const FrameContext& frame, FrameStage stage) {
  if (frame.observer != nullptr) frame.observer->OnStageIssued(stage);
}

// A kept target holds the last frame's pixels. Only the placement target is cleared, and
// only when the input does not cover it: the upload replaces every texel of the input
// target, and each pass's full-target quad, drawn without blending, writes every texel
// of its target.
enum class Clear { kNo, kYes };

bool PrepareTarget(FrameContext& frame, RenderTarget& slot, GLint width, GLint height,
                   Clear clear) {
  if (!PrepareFrameTarget(slot, width, height, frame.wrap)) return false;
  Issued(frame, FrameStage::kTargetPrepared);
  if (clear == Clear::kYes) ClearRenderTarget(slot);
  Issued(frame, FrameStage::kTargetCleared);
  return true;
}

// The input uploaded and thresholded into the pre-process target, of the input's size.
bool PreprocessInput(FrameContext& frame, const PixelView& input) {
  FrameTargets& t = frame.targets;
  if (!PrepareTarget(frame, t.preprocess, input.width, input.height, Clear::kNo)) return false;
  if (!PrepareTarget(frame, t.input, input.width, input.height, Clear::kNo)) return false;
  UploadToTexture(t.input.attachment.texture, input);
  Issued(frame, FrameStage::kUpload);
  RecordPreprocessUniforms(frame.uniforms, frame.params, t.input.attachment.texture);
  DrawQuad(t.preprocess, frame.gl.preprocessProgram, frame.uniforms, false, {}, false);
  Issued(frame, FrameStage::kPreprocess);
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

bool DrawRays(FrameContext& frame, const PixelView& output) {
  FrameTargets& t = frame.targets;
  if (!PrepareTarget(frame, t.rays, output.width, output.height, Clear::kNo)) return false;
  RecordRayUniforms(frame.uniforms, frame.params, t.placed.attachment.texture);
  DrawQuad(t.rays, frame.gl.rayProgram, frame.uniforms, false, {}, false);
  Issued(frame, FrameStage::kRays);
  ReadRenderTarget(t.rays, output, GL_COLOR_ATTACHMENT0);
  Issued(frame, FrameStage::kReadBack);
  return true;
}

// Whether the input, at its offset, covers the whole output.
bool CoversOutput(const PixelView& input, const PixelView& output, GLint x, GLint y) {
  return x <= 0 && y <= 0 && x + input.width >= output.width && y + input.height >= output.height;
}

bool DrawPasses(FrameContext& frame, const PixelView& input, const PixelView& output) {
  FrameTargets& t = frame.targets;
  const bool hasInput = input.width > 0 && input.height > 0;
  if (hasInput && !PreprocessInput(frame, input)) return false;
  const RenderParams& p = frame.params;
  const bool covered = hasInput && CoversOutput(input, output, p.offsetX, p.offsetY);
  const Clear clearPlaced = covered ? Clear::kNo : Clear::kYes;
  if (!PrepareTarget(frame, t.placed, output.width, output.height, clearPlaced)) return false;
  if (hasInput) PlaceInFrame(t.preprocess, t.placed, p.offsetX, p.offsetY);
  Issued(frame, FrameStage::kPlacement);
  if (p.view != kViewInput) return DrawRays(frame, output);
  ReadRenderTarget(t.placed, output, GL_COLOR_ATTACHMENT0);
  Issued(frame, FrameStage::kReadBack);
  return true;
}

}  // namespace

FrameResult DrawFramePasses(const GLResources& gl, FrameTargets& targets,
                            const RenderParams& params, const PixelView& input,
                            const PixelView& output, FrameStageObserver* observer) {
  if (output.width <= 0 || output.height <= 0) return FrameResult::kDrawn;  // nothing to draw
  const GLenum wrap = params.repeatEdges ? GL_MIRRORED_REPEAT : GL_CLAMP_TO_BORDER;
  FrameContext frame{gl, targets, params, wrap, observer, {}};
  const bool drawn = DrawPasses(frame, input, output);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glBindTexture(GL_TEXTURE_2D, 0);
  if (drawn) {
    EndFrameTargets(targets);
    Issued(frame, FrameStage::kTargetsReleased);
    return FrameResult::kDrawn;
  }
  // A frame that could not have its targets keeps none of them.
  DeleteFrameTargets(targets);
  // The refused texture left an error in GL's flag; drop it here so the thread's next
  // frame does not report it against whatever it checks first.
  while (glGetError() != GL_NO_ERROR) {
  }
  return FrameResult::kNoTargets;
}

}  // namespace solvane
