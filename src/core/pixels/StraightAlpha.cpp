#include "core/pixels/StraightAlpha.h"

#include <algorithm>
#include <cmath>

namespace solvane::pixels {

float ClampToUnit(float v) {
  return std::isnan(v) ? 0.0f : std::clamp(v, 0.0f, 1.0f);
}

uint8_t UnitToByte(float v) {
  return uint8_t(std::lround(ClampToUnit(v) * 255.0f));
}

float Unpremultiply(float colour, float alpha) {
  return alpha > 0.0f ? colour / alpha : colour;
}

float Premultiply(float colour, float alpha) {
  return colour * ClampToUnit(alpha);
}

}  // namespace solvane::pixels
