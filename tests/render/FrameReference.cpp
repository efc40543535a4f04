#include "FrameReference.h"

#include <algorithm>
#include <cmath>

namespace solvane::reference {
namespace {

Image Place(const Image& source, int width, int height, int offsetX, int offsetY) {
  Image placed(width, height);
  for (int y = 0; y < source.height; ++y) {
    for (int x = 0; x < source.width; ++x) {
      const int tx = x + offsetX, ty = y + offsetY;
      if (tx >= 0 && ty >= 0 && tx < width && ty < height) placed.Set(tx, ty, source.At(x, y));
    }
  }
  return placed;
}

void QuantizeImage(Image& image) {
  for (float& v : image.pixels) v = QuantizeToByte(v);
}

float Blend(float destination, float source, int blendMode, bool bytes) {
  float result =
      blendMode == 2 ? destination + source : source + destination - source * destination;
  if (bytes) result = std::clamp(std::round(result * 255.0f), 0.0f, 255.0f) / 255.0f;
  return result;
}

// The host's float rule: colour is never negative and Screen keeps the brighter value
// outside 0..1; alpha is the 8-bit rule unrounded, on values taken into 0..1.
float BlendFloat(float d, float s, int blendMode, bool alpha) {
  if (alpha) {
    s = std::clamp(s, 0.0f, 1.0f);
    d = std::clamp(d, 0.0f, 1.0f);
    return blendMode == 2 ? std::min(1.0f, d + s) : s + d - s * d;
  }
  if (blendMode == 2) return std::max(0.0f, d + s);
  if (s >= 0.0f && s <= 1.0f && d >= 0.0f && d <= 1.0f) return s + d - s * d;
  return std::max({0.0f, s, d});
}

// The host draws the input over the frame at the layer's offset, scaled by opacity / 255.
void Composite(const FrameSpec& spec, Image& frame) {
  const float scale = float(spec.opacity) / 255.0f;
  const bool bytes = spec.depth == 8;
  for (int y = 0; y < spec.input.height; ++y) {
    for (int x = 0; x < spec.input.width; ++x) {
      const int tx = x + spec.offsetX, ty = y + spec.offsetY;
      if (tx < 0 || ty < 0 || tx >= frame.width || ty >= frame.height) continue;
      const Rgba s = spec.input.At(x, y);
      Rgba d = frame.At(tx, ty);
      for (int c = 0; c < 4; ++c) {
        // Components are in stored order: alpha first.
        d[c] = bytes ? Blend(d[c], s[c] * scale, spec.blendMode, true)
                     : BlendFloat(d[c], s[c] * scale, spec.blendMode, c == 0);
      }
      frame.Set(tx, ty, d);
    }
  }
}

}  // namespace

float QuantizeToByte(float value) {
  return std::round(std::clamp(value, 0.0f, 1.0f) * 255.0f) / 255.0f;
}

Image RenderFrameReference(const FrameSpec& spec) {
  PreprocessUniforms pre = spec.preprocess;
  pre.presentViewL = spec.view == 1 ? 1 : 0;
  const Image processed =
      RunPreprocessPass(spec.input, spec.wrap, spec.input.width, spec.input.height, pre);
  Image frame = Place(processed, spec.outputWidth, spec.outputHeight, spec.offsetX, spec.offsetY);
  if (spec.view != 1) {
    frame = RunRayPass(frame, spec.wrap, spec.outputWidth, spec.outputHeight, spec.rays);
  }
  if (spec.depth == 8) QuantizeImage(frame);
  if (spec.view == 3) Composite(spec, frame);
  return frame;
}

}  // namespace solvane::reference
