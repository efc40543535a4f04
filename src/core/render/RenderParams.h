// The per-frame values the two shader passes and the composite need, derived from the
// control values and the frame's geometry. Plain arithmetic: no host, no GL.
#pragma once

#include <cstdint>

#include "core/controls/ControlValues.h"

namespace solvane {

// One per frame, made by DeriveRenderParams.
struct RenderParams {
  double downsampleScale = 0;
  int32_t offsetX = 0;
  int32_t offsetY = 0;
  int32_t expansion = 0;
  uint8_t isAdjustmentLike = 0;
  int32_t mode = 0;
  int32_t direction = 0;
  int32_t forward = 0;
  int32_t backward = 0;
  double posX = 0;
  double posY = 0;
  double decay = 0;
  double density = 0;
  double exposure = 0;
  double aspect = 0;
  int32_t channels = 0;
  double chromaticAberration = 0;
  uint8_t repeatEdges = 0;
  int32_t quality = 0;
  double jitter = 0;
  int32_t samples = 0;
  int32_t thresholdMode = 0;
  double threshold = 0;
  double thresholdSmooth = 0;
  int32_t view = 0;
  double inputOpacity = 0;
  int32_t blendMode = 0;
  int32_t unmult = 0;
};

// Where the frame lies: what a shell knows about its buffers besides the controls.
struct FrameGeometry {
  double downsampleScale = 1;  // the horizontal factor, as the host's rounding gives it
  int32_t inputOffsetX = 0;    // input origin minus output origin
  int32_t inputOffsetY = 0;
  int32_t outputOriginX = 0;  // output origin in layer pixels
  int32_t outputOriginY = 0;
  int32_t outputWidth = 0;
  int32_t outputHeight = 0;
  bool adjustmentLike = false;  // adjustment or collapsed layer: no expansion offset
};

RenderParams DeriveRenderParams(const ControlValues& controls, const FrameGeometry& frame);

// "Buffer Expansion" at the current resolution, in whole pixels: how far the output grows
// on every side beyond the layer.
int32_t BufferExpansionPixels(double bufferExpansion, double downsampleScale);

// The composite's opacity on the 0-to-255 scale: inputOpacity truncated, not rounded (an
// "Input Opacity" of 100 arrives as 254.99... and draws at 254), within 0..255.
uint8_t CompositeOpacity(const RenderParams& params);

// Truncates toward zero, saturating at the 32-bit range (NaN gives 0) so that no host
// value can make the conversion undefined.
int32_t TruncateToInt32(double value);

}  // namespace solvane
