#include "tools/render/PixelConversion.h"

#include <cmath>

namespace solvane::cli {
namespace {

// An 8-bit file's channel: the reader hands it over as byte / 255.
A_u_char FileByte(float v) {
  return A_u_char(std::lround(v * 255.0f));
}

A_u_char Premultiply8(float straight, float alpha) {
  return pixels::Premultiply8(FileByte(straight), FileByte(alpha));
}

}  // namespace

void StoreFilePixel(host::World& world, A_long x, A_long y, float a, float r, float g, float b,
                    bool premultiplied, bool eightBitFile) {
  if (premultiplied) {
    world.SetValue(x, y, {a, r, g, b});
  } else if (eightBitFile && world.Depth() == 8) {
    world.SetPixel8(x, y,
                    {FileByte(a), Premultiply8(r, a), Premultiply8(g, a), Premultiply8(b, a)});
  } else {
    world.SetValue(x, y, {a, r * a, g * a, b * a});
  }
}

FileColour ToFileColour(const PF_PixelFloat& p, bool straight) {
  if (!straight) return {p.red, p.green, p.blue, p.alpha};
  const auto colour = [&p](float c) { return pixels::StraightChannel(c, p.alpha); };
  return {colour(p.red), colour(p.green), colour(p.blue), p.alpha};
}

}  // namespace solvane::cli
