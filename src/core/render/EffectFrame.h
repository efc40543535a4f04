// One frame of the effect, as every shell renders it: the calling thread's context,
// programs and kept targets, both passes, and what the shell must composite afterwards.
#pragma once

#include <cstdint>

#include "core/gl/PixelView.h"
#include "core/pixels/Composite.h"
#include "core/render/GLResources.h"
#include "core/render/RenderParams.h"

namespace solvane {

enum class EffectFrameResult : uint8_t {
  kDrawn,
  kNoContext,  // no OpenGL context on this thread (none could be made)
  kNoProgram,  // a program did not build in the thread's context
  kNoTargets,  // a render target could not be made (the frame is beyond the GPU)
};

// How the shell draws the unprocessed input over the rays. Only the Final Composite view
// wants it; the opacity is the control's, 0 to 255, for the shell to turn into its byte.
struct FrameComposite {
  bool wanted = false;
  pixels::BlendOp op = pixels::BlendOp::kScreen;
  double opacity = 0;
};

// Draws the frame into output and says in `composite` what the shell draws over it. The
// thread's resources are made on its first frame when `global` holds a context (the
// shell's sign that OpenGL works here); a thread whose creation failed keeps failing. Both
// views must be transferable and of one format. On every result but kDrawn the output is
// untouched. The thread's own context is left current, so a thread's frames cost no
// context switch; a shell whose host may have a context of its own current wraps the call
// in ScopedContextRestore.
EffectFrameResult DrawEffectFrame(const GLResources* global, const RenderParams& params,
                                  const PixelView& input, const PixelView& output,
                                  FrameComposite& composite);

}  // namespace solvane
