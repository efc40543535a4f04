#include "core/pixels/Composite.h"

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

// round(v * 255), halves up, clamped to 0..255 (NaN to 0). The conversion truncates, which
// is the floor for the non-negative values that reach it, and costs no library call.
uint8_t ToByte(double v) {
  const double x = v * 255.0 + 0.5;
  if (!(x > 0.0)) return 0;
  return x >= 255.0 ? 255 : uint8_t(int(x));
}

// Every byte's 0..1 value, b / 255, as the division gives it.
constexpr std::array<double, 256> kByteUnit = [] {
  std::array<double, 256> unit{};
  for (int b = 0; b < 256; ++b) unit[size_t(b)] = b / 255.0;
  return unit;
}();

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

namespace {

// The 8-bit weights of a pixel pair: a function of the two alpha bytes and the opacity only.
Weights<double> Weights8(uint8_t sourceAlpha, uint8_t destinationAlpha, uint8_t opacity) {
  return WeightsOf(double(sourceAlpha) * opacity / (255.0 * 255.0), kByteUnit[destinationAlpha]);
}

Argb8 Mix8(BlendOp op, const Weights<double>& w, const Argb8& source, const Argb8& destination) {
  Argb8 out{ToByte(w.alpha), 0, 0, 0};
  for (int c = 1; c < 4; ++c) {
    const double s = kByteUnit[source[c]], d = kByteUnit[destination[c]];
    out[c] = ToByte(w.destination * d + w.source * s + w.blend * Blend8(op, s, d));
  }
  return out;
}

}  // namespace

Argb8 Composite8(BlendOp op, const Argb8& source, const Argb8& destination, uint8_t opacity) {
  return Mix8(op, Weights8(source[0], destination[0], opacity), source, destination);
}

Compositor8::Compositor8(BlendOp op, uint8_t opacity)
    : op_(op), opacity_(opacity), opaqueTable_(256 * 256) {
  for (int s = 0; s < 256; ++s) {
    for (int d = 0; d < 256; ++d) {
      opaqueTable_[size_t(s) << 8 | size_t(d)] =
          Composite8(op, {255, uint8_t(s), 0, 0}, {255, uint8_t(d), 0, 0}, opacity)[1];
    }
  }
  for (int d = 0; d < 256; ++d)
    opaqueSourceWeights_[size_t(d)] = Weights8(255, uint8_t(d), opacity);
}

Argb8 Compositor8::operator()(const Argb8& source, const Argb8& destination) const {
  if (source[0] != 255) return Composite8(op_, source, destination, opacity_);
  if (destination[0] != 255) {
    return Mix8(op_, opaqueSourceWeights_[destination[0]], source, destination);
  }
  const auto look = [&](int c) { return opaqueTable_[size_t(source[c]) << 8 | destination[c]]; };
  return {255, look(1), look(2), look(3)};
}

}  // namespace solvane::pixels
