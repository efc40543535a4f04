// Whole-world operations the host performs before a frame: changing the depth of an image
// and box-filtering a layer for a downsampled render.
#pragma once

#include "host/World.h"

namespace solvane::host {

// The same pixels at `depth` bits per channel (values on the 0-to-1 scale kept; an integer
// depth clamps and rounds to its nearest step). Rows are unpadded.
World ConvertDepth(const World& source, int depth);

// The layer at 1/factor resolution: each pixel is the mean of the factor x factor source
// pixels it covers, partial blocks at the right and bottom edges averaging the pixels they
// have, giving ceil(W / factor) x ceil(H / factor). Alpha is the plain mean; the straight
// colour is the alpha-weighted mean (the plain mean where the block has no alpha), which is
// the mean of the premultiplied pixels seen as straight colour. Throws
// std::invalid_argument for a factor below 1.
World BoxDownsample(const World& source, int factor);

}  // namespace solvane::host
