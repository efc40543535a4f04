// Shared pieces of the end-to-end frame tests: a host with the effect set up, input
// patterns, the controls a test chooses and the shader values they must become, and the
// comparison of a rendered world with the CPU reference.
#pragma once

#include <memory>

#include "FrameReference.h"
#include "core/gl/PixelView.h"
#include "host/FrameRender.h"
#include "host/Host.h"
#include "host/World.h"
#include "core/controls/ControlTable.h"
#include "core/controls/ControlValues.h"

namespace solvane::frametest {

// The controls a frame test renders with, in the units the host shows: every control at
// its default but for the ray centre, and Quality Custom with 8 samples and no noise, so
// the sample count stays small and the hash out of exact comparisons.
struct Controls : ControlValues {
  Controls();
};

void ApplyControls(host::Host& host, const Controls& c);

// A host with global set-up and parameter set-up done for a width x height layer. With
// `linked` the effect linked into the test binary is driven instead of the module file,
// so the test can observe the toolkit's own state.
std::unique_ptr<host::Host> MakeEffectHost(int width, int height, bool linked = false);

// A deterministic input: bright spots, soft values, a half-transparent band and a fully
// transparent corner, in straight colour; float worlds also hold values above 1.
host::World Pattern(int width, int height, int depth, int rowPadding = 0);

reference::Image ToImage(const host::World& world);

// The world's pixels as the effect's own render code sees them; fails the test for a world
// the effect would refuse.
PixelView ViewOf(const host::World& world);

// The reference frame for these controls, with the input placed at (offsetX, offsetY) in
// an output of outputWidth x outputHeight; the ray centre moves with the input, so it
// stays on "Position".
reference::FrameSpec SpecFor(const Controls& c, const host::World& input, int outputWidth,
                             int outputHeight, int offsetX, int offsetY, int depth);

// Largest difference per channel, relative to max(1, |expected|); infinity on a size
// mismatch.
float MaxRelativeDifference(const host::World& actual, const reference::Image& expected);

// GPU bilinear filtering and float sums against the CPU in the same order (llvmpipe).
inline constexpr float kFloatTolerance = 1e-4f;
// One step of an 8-bit channel, plus the float error before rounding.
inline constexpr float kByteTolerance = 1.0f / 255.0f + 1e-4f;

}  // namespace solvane::frametest
