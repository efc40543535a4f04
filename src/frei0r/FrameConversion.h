// frei0r frames are 8-bit RGBA with straight alpha; the render core works on premultiplied
// alpha-first (A, R, G, B) pixels. These convert between the two exactly as solvane-render
// reads and writes 8-bit files, and composite the input over the rays as its host does.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pixels/Composite8.h"

namespace solvane::frei0r {

// `count` RGBA pixels (bytes R, G, B, A in memory) into premultiplied A, R, G, B bytes.
void ToPremultipliedArgb(const uint8_t* rgba, size_t count, uint8_t* argb);

// `count` premultiplied A, R, G, B pixels into straight R, G, B, A bytes.
void ToStraightRgba(const uint8_t* argb, size_t count, uint8_t* rgba);

// Composites each premultiplied input pixel over the output pixel at the same place, all
// four channels, with the compositor's mode and opacity.
void CompositeOver(const uint8_t* inputArgb, size_t count, const pixels::ByteCompositor& composite,
                   uint8_t* outputArgb);

}  // namespace solvane::frei0r
