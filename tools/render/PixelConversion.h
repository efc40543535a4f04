// How file pixels become world pixels, shared by both image I/O backends: float files hold
// premultiplied values as they are, straight-alpha files are premultiplied here.
#pragma once

#include "host/World.h"

namespace solvane::cli {

// Stores (alpha, red, green, blue) from a file at (x, y). Premultiplied values go in as they
// are; straight ones are multiplied by alpha, exactly in bytes (round(c · a / 255)) when an
// 8-bit file fills an 8-bit world.
void StoreFilePixel(host::World& world, A_long x, A_long y, float a, float r, float g, float b,
                    bool premultiplied, bool eightBitFile);

}  // namespace solvane::cli
