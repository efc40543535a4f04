#include "core/render/EffectFrame.h"

#include "core/controls/ControlChoices.h"
#include "core/gl/Programs.h"
#include "core/render/FramePasses.h"
#include "core/render/ThreadResources.h"

namespace solvane {
namespace {

FrameComposite CompositeOf(const RenderParams& params) {
  FrameComposite composite;
  composite.wanted = params.view == kViewFinalComposite;
  composite.op = params.blendMode == kBlendAdd ? pixels::BlendOp::kAdd : pixels::BlendOp::kScreen;
  composite.opacity = params.inputOpacity;
  return composite;
}

}  // namespace

EffectFrameResult DrawEffectFrame(const GLResources* global, const RenderParams& params,
                                  const PixelView& input, const PixelView& output,
                                  FrameComposite& composite) {
  const GLResources* gl = AcquireThreadResources(global);
  if (gl == nullptr || gl->context == nullptr) return EffectFrameResult::kNoContext;
  if (!IsProgramLinked(gl->preprocessProgram) || !IsProgramLinked(gl->rayProgram)) {
    return EffectFrameResult::kNoProgram;
  }
  if (DrawFramePasses(*gl, ThreadFrameTargets(), params, input, output) != FrameResult::kDrawn) {
    return EffectFrameResult::kNoTargets;
  }
  composite = CompositeOf(params);
  return EffectFrameResult::kDrawn;
}

}  // namespace solvane
