// How file pixels become world pixels and back, shared by both image I/O backends: float
// files hold premultiplied values as they are, straight-alpha files are premultiplied here
// on reading and un-premultiplied on writing.
#pragma once

#include <array>

#include "host/World.h"
#include "pixels/StraightAlpha.h"

namespace solvane::cli {

// Stores (alpha, red, green, blue) from a file at (x, y). Premultiplied values go in as they
// are; straight ones are multiplied by alpha, exactly in bytes (round(c · a / 255)) when an
// 8-bit file fills an 8-bit world.
void StoreFilePixel(host::World& world, A_long x, A_long y, float a, float r, float g, float b,
                    bool premultiplied, bool eightBitFile);

// Red, green, blue and alpha as a file stores them.
using FileColour = std::array<float, 4>;

using pixels::ClampToUnit;

// A world pixel in file order. With `straight` the colour is un-premultiplied as
// pixels::StraightChannel does; otherwise the premultiplied values are kept as they are.
// Alpha is kept as it is.
FileColour ToFileColour(const PF_PixelFloat& p, bool straight);

}  // namespace solvane::cli
