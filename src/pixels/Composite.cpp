#include "pixels/Composite.h"

#include <algorithm>
#include <cmath>

namespace solvane::pixels {
namespace {

// v taken into 0..1; NaN becomes 0.
float Unit(float v) {
  return v > 0.0f ? std::min(v, 1.0f) : 0.0f;
}

double Blend8(BlendOp op, double s, double d) {
  return op == BlendOp::kAdd ? std::min(1.0, s + d) : s + d - s * d;
}

uint8_t ToByte(double v) {
  return uint8_t(std::clamp(std::floor(v * 255.0 + 0.5), 0.0, 255.0));
}

// What each part of the result is made of: the destination alone, the source alone, and
// both blended, already divided by the result's alpha.
template <typename T>
struct Weights {
  T alpha, destination, source, blend;
};

template <typename T>
Weights<T> WeightsOf(T sourceAlpha, T destinationAlpha) {
  const T as = sourceAlpha, ad = destinationAlpha;
  const T alpha = as + ad - as * ad;
  if (!(alpha > 0)) return {0, 0, 0, 0};
  return {alpha, (1 - as) * ad / alpha, (1 - ad) * as / alpha, as * ad / alpha};
}

}  // namespace

float BlendFloat(BlendOp op, float source, float destination) {
  const float s = source, d = destination;
  if (op == BlendOp::kAdd) return std::max(0.0f, d + s);
  if (s >= 0.0f && s <= 1.0f && d >= 0.0f && d <= 1.0f) return s + d - s * d;
  return std::max(0.0f, std::max(s, d));
}

ArgbFloat CompositeFloat(BlendOp op, const ArgbFloat& source, const ArgbFloat& destination,
                         uint8_t opacity) {
  const Weights<float> w =
      WeightsOf(Unit(source[0]) * (float(opacity) / 255.0f), Unit(destination[0]));
  ArgbFloat out{w.alpha, 0.0f, 0.0f, 0.0f};
  for (int c = 1; c < 4; ++c) {
    const float s = source[c], d = destination[c];
    const float v = w.destination * d + w.source * s + w.blend * BlendFloat(op, s, d);
    out[c] = std::max(0.0f, v);
  }
  return out;
}

Argb8 Composite8(BlendOp op, const Argb8& source, const Argb8& destination, uint8_t opacity) {
  const Weights<double> w =
      WeightsOf(double(source[0]) * opacity / (255.0 * 255.0), destination[0] / 255.0);
  Argb8 out{ToByte(w.alpha), 0, 0, 0};
  for (int c = 1; c < 4; ++c) {
    const double s = source[c] / 255.0, d = destination[c] / 255.0;
    out[c] = ToByte(w.destination * d + w.source * s + w.blend * Blend8(op, s, d));
  }
  return out;
}

Compositor8::Compositor8(BlendOp op, uint8_t opacity)
    : op_(op), opacity_(opacity), opaqueTable_(256 * 256) {
  for (int s = 0; s < 256; ++s) {
    for (int d = 0; d < 256; ++d) {
      opaqueTable_[size_t(s) << 8 | size_t(d)] =
          Composite8(op, {255, uint8_t(s), 0, 0}, {255, uint8_t(d), 0, 0}, opacity)[1];
    }
  }
}

Argb8 Compositor8::operator()(const Argb8& source, const Argb8& destination) const {
  if (source[0] != 255 || destination[0] != 255) {
    return Composite8(op_, source, destination, opacity_);
  }
  const auto look = [&](int c) { return opaqueTable_[size_t(source[c]) << 8 | destination[c]]; };
  return {255, look(1), look(2), look(3)};
}

}  // namespace solvane::pixels
