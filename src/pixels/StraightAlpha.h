// How straight-alpha file pixels become premultiplied pixels and back: the one rule that
// solvane-render applies to 8-bit files and the frei0r filter applies to its frames.
#pragma once

#include <cstdint>

namespace solvane::pixels {

// v clamped to 0..1; NaN becomes 0.
float ClampToUnit(float v);

// A 0..1 value as a file byte: round(v · 255) after clamping, halves away from zero.
uint8_t UnitToByte(float v);

// A straight byte multiplied by its alpha byte, exactly: round(c · a / 255), halves up.
uint8_t Premultiply8(uint8_t straight, uint8_t alpha);

// A premultiplied colour value divided by its alpha (clamped to 0..1 first) and clamped to
// 0..1; black where alpha is 0.
float StraightChannel(float premultiplied, float alpha);

// A premultiplied byte as an 8-bit file stores it: StraightChannel on the bytes' 0..1
// values, then UnitToByte.
uint8_t Unpremultiply8(uint8_t premultiplied, uint8_t alpha);

}  // namespace solvane::pixels
