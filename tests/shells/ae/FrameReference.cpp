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

// Straight colour over straight colour, as After Effects' transfer modes composite: the
// source alpha scaled by the opacity, the result alpha as + ad - as * ad, and the colour the
// alpha-weighted mix of the destination alone, the source alone and their blend. At 8 bits
// in double precision with the blend clamped to 1 and each channel rounded once; in float
// with the colour never negative and Screen keeping the brighter value outside 0..1.
Rgba CompositePixel(const Rgba& s, const Rgba& d, float opacity, int blendMode, bool bytes) {
  const double as = std::clamp(double(s[0]), 0.0, 1.0) * opacity / 255.0;
  const double ad = std::clamp(double(d[0]), 0.0, 1.0);
  const double alpha = as + ad - as * ad;
  Rgba out{float(alpha), 0, 0, 0};
  for (int c = 1; c < 4 && alpha > 0; ++c) {
    const double cs = s[c], cd = d[c];
    double blend = blendMode == 2 ? cs + cd : cs + cd - cs * cd;
    if (bytes && blendMode == 2) blend = std::min(blend, 1.0);
    if (!bytes && blendMode != 2 && (cs < 0 || cs > 1 || cd < 0 || cd > 1)) {
      blend = std::max({0.0, cs, cd});
    }
    if (!bytes && blendMode == 2) blend = std::max(blend, 0.0);
    const double v = ((1 - as) * ad * cd + (1 - ad) * as * cs + as * ad * blend) / alpha;
    out[c] = float(bytes ? v : std::max(v, 0.0));
  }
  if (bytes) {
    for (float& v : out)
      v = float(std::clamp(std::floor(double(v) * 255.0 + 0.5), 0.0, 255.0) / 255.0);
  }
  return out;
}

// The host draws the input over the frame at the layer's offset.
void Composite(const FrameSpec& spec, Image& frame) {
  const bool bytes = spec.depth == 8;
  for (int y = 0; y < spec.input.height; ++y) {
    for (int x = 0; x < spec.input.width; ++x) {
      const int tx = x + spec.offsetX, ty = y + spec.offsetY;
      if (tx < 0 || ty < 0 || tx >= frame.width || ty >= frame.height) continue;
      // Components are in stored order: alpha first.
      frame.Set(tx, ty,
                CompositePixel(spec.input.At(x, y), frame.At(tx, ty), float(spec.opacity),
                               spec.blendMode, bytes));
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
