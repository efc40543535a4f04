// How file pixels become world pixels and back, shared by both image I/O backends. Worlds
// hold straight colour; so do PNG, JPEG, TGA, BMP and unassociated-alpha TIFF, which pass
// unchanged. Premultiplied files (EXR, associated-alpha TIFF) are un-premultiplied on
// reading and premultiplied on writing.
#pragma once

#include <array>

#include "host/World.h"
#include "core/pixels/StraightAlpha.h"

namespace solvane::cli {

// Stores (alpha, red, green, blue) from a file at (x, y); the colour of a premultiplied
// file is divided by its alpha first (kept where alpha is 0).
void StoreFilePixel(host::World& world, A_long x, A_long y, float a, float r, float g, float b,
                    bool premultiplied);

// Red, green, blue and alpha as a file stores them.
using FileColour = std::array<float, 4>;

using pixels::ClampToUnit;

// A world pixel in file order, its colour multiplied by its alpha for a premultiplied file
// (or one without alpha, which shows the colour over black); alpha kept as it is.
FileColour ToFileColour(const PF_PixelFloat& p, bool premultiplied);

}  // namespace solvane::cli
