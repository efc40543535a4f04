// The per-frame values the two shader passes and the host composite need, derived from
// the 40 controls, the downsample factor and the output size. Plain arithmetic: no GL.
#pragma once

#include <cstdint>

#include "plugin/HostApi.h"

namespace solvane {

// One per frame, zero-initialised. The render fills offsetX, offsetY, isAdjustmentLike,
// posX and posY from the buffers and the layer before GatherRenderParams adds to them.
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

// Checks out controls 1 to 40 at the current time (checking every one back in, even after
// a failure) and derives the fields. Returns the first host error, after deriving from
// whatever the definitions hold.
PF_Err GatherRenderParams(RenderParams& params, PF_InData* in_data, const PF_EffectWorld* output);

// The horizontal downsample factor, divided in single precision as the host's own
// rounding of it would be, then widened. The vertical factor is not used anywhere.
double DownsampleScale(const PF_RationalScale& downsample);

// Truncates toward zero, saturating at the 32-bit range (NaN gives 0) so that no host
// value can make the conversion undefined.
int32_t TruncateToInt32(double value);

}  // namespace solvane
