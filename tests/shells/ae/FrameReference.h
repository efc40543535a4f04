// CPU reference of a whole frame, for end-to-end tests: the pre-process pass over the
// input, placement in the expanded frame, the ray pass, and the host's composite. Images
// are in the host's alpha-first order on the 0-to-1 scale.
#pragma once

#include "ReferenceModel.h"

namespace solvane::reference {

struct FrameSpec {
  Image input;  // alpha, red, green, blue per pixel, straight colour
  int outputWidth = 0;
  int outputHeight = 0;
  int offsetX = 0;
  int offsetY = 0;
  Wrap wrap = Wrap::kMirroredRepeat;
  PreprocessUniforms preprocess;
  RayUniforms rays;
  int view = 3;       // 1 input (processed), 2 rays solo, 3 final composite
  int blendMode = 1;  // 1 screen, 2 add
  int opacity = 254;  // the composite's byte opacity
  int depth = 32;     // 8: the read-back and the composite work on bytes
};

Image RenderFrameReference(const FrameSpec& spec);

// What an 8-bit read-back stores for a float: clamped to 0..1, scaled and rounded.
float QuantizeToByte(float value);

}  // namespace solvane::reference
