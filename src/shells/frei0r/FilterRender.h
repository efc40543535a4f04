// The GL side of the filter: each host thread's own context, programs and render targets
// from the render core, and one frame's rays drawn through them.
#pragma once

#include <cstdint>

#include "shells/frei0r/FilterParams.h"
#include "core/pixels/Composite.h"

namespace solvane::frei0r {

// What the host composite would do with this frame: whether the view asks for it, and
// the mode and opacity derived from the controls.
struct FrameComposite {
  bool wanted = false;
  pixels::BlendOp op = pixels::BlendOp::kScreen;
  uint8_t opacity = 0;
};

enum class DrawResult : uint8_t {
  kDrawn,
  kNoGL,       // no OpenGL context could be made on this thread
  kNoTargets,  // the frame is beyond what the GPU can hold
};

// Draws the frame's image for the current view from A, R, G, B input pixels
// into `outputArgb` (same size, tightly packed rows) and says what to composite.
DrawResult DrawFrame(const FilterControls& controls, int32_t width, int32_t height,
                     const uint8_t* inputArgb, uint8_t* outputArgb, FrameComposite& composite);

// Counts the module's users (f0r_init/f0r_deinit pairs, which some hosts make once per
// filter). The probe context that tells whether OpenGL works at all lives while there
// are any.
void RetainGL();
void ReleaseGL();

}  // namespace solvane::frei0r
