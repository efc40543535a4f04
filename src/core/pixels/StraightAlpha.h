// Where straight colour (what every world and frame holds) meets files that store
// premultiplied colour (EXR, associated-alpha TIFF), and the byte form of 0..1 values.
// The one rule solvane-render applies at its file borders.
#pragma once

#include <cstdint>

namespace solvane::pixels {

// v clamped to 0..1; NaN becomes 0.
float ClampToUnit(float v);

// A 0..1 value as a file byte: round(v · 255) after clamping, halves away from zero.
uint8_t UnitToByte(float v);

// A premultiplied colour value as straight colour: divided by its alpha where alpha is
// above 0, kept as it is where alpha is 0 (nothing to divide, and a file's colour under
// zero alpha is its own business). Not clamped: float light may lie above 1.
float Unpremultiply(float colour, float alpha);

// Straight colour times its alpha, the alpha taken into 0..1.
float Premultiply(float colour, float alpha);

}  // namespace solvane::pixels
