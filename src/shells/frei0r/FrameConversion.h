// frei0r frames are 8-bit RGBA of straight colour, as the render core's pixels are; only
// the component order differs (the core works on alpha-first A, R, G, B). The input goes
// over the rays with the host's own straight-colour composite.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/pixels/Composite.h"

namespace solvane::frei0r {

// `count` RGBA pixels (bytes R, G, B, A in memory) into A, R, G, B bytes, values unchanged.
void ToArgb(const uint8_t* rgba, size_t count, uint8_t* argb);

// `count` A, R, G, B pixels into R, G, B, A bytes, values unchanged.
void ToRgba(const uint8_t* argb, size_t count, uint8_t* rgba);

// Composites each input pixel over the output pixel at the same place with the
// compositor's mode and opacity.
void CompositeOver(const uint8_t* inputArgb, size_t count, const pixels::Compositor8& composite,
                   uint8_t* outputArgb);

}  // namespace solvane::frei0r
