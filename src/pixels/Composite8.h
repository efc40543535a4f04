// The 8-bit Screen and Add composite of a premultiplied source over a destination at an
// opacity, as the stand-in host's transfer_rect and the frei0r filter both apply it. Plain
// byte arithmetic, no host types, so every shell that composites gives the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace solvane::pixels {

enum class BlendOp : uint8_t { kScreen, kAdd };

// One channel on the 0-to-255 scale: the source is scaled by opacity / 255, then Add gives
// d + s and Screen s + d - s * d / 255, computed in double precision from the exact scaled
// source, rounded once to the nearest integer (halves up) and clamped to 0..255.
uint8_t CompositeChannel8(BlendOp op, uint8_t source, uint8_t destination, uint8_t opacity);

// Every result of one mode and opacity, computed once and then looked up: the same bytes
// as CompositeChannel8 at a fraction of its cost over a whole frame.
class ByteCompositor {
 public:
  ByteCompositor(BlendOp op, uint8_t opacity);
  uint8_t operator()(uint8_t source, uint8_t destination) const {
    return table_[std::size_t(source) << 8 | destination];
  }

 private:
  std::vector<uint8_t> table_;
};

}  // namespace solvane::pixels
