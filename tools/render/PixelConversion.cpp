#include "tools/render/PixelConversion.h"

namespace solvane::cli {

void StoreFilePixel(host::World& world, A_long x, A_long y, float a, float r, float g, float b,
                    bool premultiplied) {
  if (premultiplied) {
    world.SetValue(
        x, y,
        {a, pixels::Unpremultiply(r, a), pixels::Unpremultiply(g, a), pixels::Unpremultiply(b, a)});
  } else {
    world.SetValue(x, y, {a, r, g, b});
  }
}

FileColour ToFileColour(const PF_PixelFloat& p, bool premultiplied) {
  if (!premultiplied) return {p.red, p.green, p.blue, p.alpha};
  const auto colour = [&p](float c) { return pixels::Premultiply(c, p.alpha); };
  return {colour(p.red), colour(p.green), colour(p.blue), p.alpha};
}

}  // namespace solvane::cli
