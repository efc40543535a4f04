#include "tools/render/PixelConversion.h"

#include <algorithm>
#include <cmath>

namespace solvane::cli {
namespace {

A_u_char Premultiply8(float straight, float alpha) {
  const long c = std::lround(straight * 255.0f);
  const long a = std::lround(alpha * 255.0f);
  return A_u_char((c * a + 127) / 255);
}

}  // namespace

void StoreFilePixel(host::World& world, A_long x, A_long y, float a, float r, float g, float b,
                    bool premultiplied, bool eightBitFile) {
  if (premultiplied) {
    world.SetValue(x, y, {a, r, g, b});
  } else if (eightBitFile && world.Depth() == 8) {
    world.SetPixel8(x, y,
                    {A_u_char(std::lround(a * 255.0f)), Premultiply8(r, a), Premultiply8(g, a),
                     Premultiply8(b, a)});
  } else {
    world.SetValue(x, y, {a, r * a, g * a, b * a});
  }
}

float ClampToUnit(float v) {
  return std::isnan(v) ? 0.0f : std::clamp(v, 0.0f, 1.0f);
}

FileColour ToFileColour(const PF_PixelFloat& p, bool straight) {
  if (!straight) return {p.red, p.green, p.blue, p.alpha};
  const float a = ClampToUnit(p.alpha);
  const auto colour = [a](float c) { return a > 0 ? ClampToUnit(c / a) : 0.0f; };
  return {colour(p.red), colour(p.green), colour(p.blue), p.alpha};
}

}  // namespace solvane::cli
