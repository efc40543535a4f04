#include "tools/render/PixelConversion.h"

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

}  // namespace solvane::cli
