// The GL side of the filter: each host thread's own context, programs and render targets
// from the render core, and one frame's rays drawn through them.
#pragma once

#include <cstdint>

#include "shells/frei0r/FilterParams.h"
#include "core/render/EffectFrame.h"

namespace solvane::frei0r {

enum class DrawResult : uint8_t {
  kDrawn,
  kNoGL,       // no OpenGL context could be made on this thread
  kNoTargets,  // the frame is beyond what the GPU can hold
};

// Draws the frame's image for the current view from A, R, G, B input pixels
// into `outputArgb` (same size, tightly packed rows) and says what to composite, as the
// render core decides it.
DrawResult DrawFrame(const FilterControls& controls, int32_t width, int32_t height,
                     const uint8_t* inputArgb, uint8_t* outputArgb, FrameComposite& composite);

// "Input Opacity" (0 to 255) as the filter's composite byte: the nearest one, so that 100 %
// is fully opaque (After Effects' shell truncates, which makes it 254 there).
uint8_t FilterOpacity(double inputOpacity);

// Counts the module's users (f0r_init/f0r_deinit pairs, which some hosts make once per
// filter). The probe context that tells whether OpenGL works at all lives while there
// are any.
void RetainGL();
void ReleaseGL();

}  // namespace solvane::frei0r
