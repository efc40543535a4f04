// 16.16 fixed point, as After Effects hands angles and points over, and the percentages
// point defaults are registered in. Header-only and free of the effect, so the stand-in
// host and the tools convert by the same rule the effect does.
#pragma once

#include <cmath>
#include <cstdint>

namespace solvane::fixed_point {

inline constexpr double kOne = 65536.0;
// The largest whole magnitude 16.16 holds, with room for the fraction.
inline constexpr double kLimit = 32767.0;

constexpr int32_t FromWhole(int32_t whole) {
  return whole * 65536;
}

inline int32_t FromDouble(double value) {
  return int32_t(std::lround(value * kOne));
}

constexpr double ToDouble(int32_t fixed) {
  return fixed / kOne;
}

// Whether `value` fits 16.16 at all.
inline bool Holds(double value) {
  return std::fabs(value) <= kLimit;
}

// A point default registered in per cent of the layer, in layer pixels.
constexpr double PercentToPixels(double percent, double layerSide) {
  return percent / 100.0 * layerSide;
}

}  // namespace solvane::fixed_point
