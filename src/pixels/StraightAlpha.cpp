#include "pixels/StraightAlpha.h"

#include <algorithm>
#include <cmath>

namespace solvane::pixels {

float ClampToUnit(float v) {
  return std::isnan(v) ? 0.0f : std::clamp(v, 0.0f, 1.0f);
}

uint8_t UnitToByte(float v) {
  return uint8_t(std::lround(ClampToUnit(v) * 255.0f));
}

uint8_t Premultiply8(uint8_t straight, uint8_t alpha) {
  return uint8_t((unsigned(straight) * alpha + 127) / 255);
}

float StraightChannel(float premultiplied, float alpha) {
  const float a = ClampToUnit(alpha);
  return a > 0 ? ClampToUnit(premultiplied / a) : 0.0f;
}

uint8_t Unpremultiply8(uint8_t premultiplied, uint8_t alpha) {
  return UnitToByte(StraightChannel(premultiplied / 255.0f, alpha / 255.0f));
}

}  // namespace solvane::pixels
