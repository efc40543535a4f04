#include "frei0r/FrameConversion.h"

#include <array>

#include "pixels/StraightAlpha.h"

namespace solvane::frei0r {
namespace {

// Both conversions looked up from every (value, alpha) pair, computed once: a frame
// converts at memory speed instead of dividing per channel.
class ByteTable {
 public:
  template <typename Rule>
  explicit ByteTable(Rule rule) {
    for (int v = 0; v < 256; ++v) {
      for (int a = 0; a < 256; ++a)
        table_[size_t(a) << 8 | size_t(v)] = rule(uint8_t(v), uint8_t(a));
    }
  }
  uint8_t operator()(uint8_t value, uint8_t alpha) const {
    return table_[size_t(alpha) << 8 | value];
  }

 private:
  std::array<uint8_t, 256 * 256> table_{};
};

const ByteTable& PremultiplyTable() {
  static const ByteTable table(pixels::Premultiply8);
  return table;
}

const ByteTable& UnpremultiplyTable() {
  static const ByteTable table(pixels::Unpremultiply8);
  return table;
}

}  // namespace

void ToPremultipliedArgb(const uint8_t* rgba, size_t count, uint8_t* argb) {
  const ByteTable& premultiply = PremultiplyTable();
  for (size_t i = 0; i < count; ++i, rgba += 4, argb += 4) {
    const uint8_t a = rgba[3];
    argb[0] = a;
    argb[1] = premultiply(rgba[0], a);
    argb[2] = premultiply(rgba[1], a);
    argb[3] = premultiply(rgba[2], a);
  }
}

void ToStraightRgba(const uint8_t* argb, size_t count, uint8_t* rgba) {
  const ByteTable& unpremultiply = UnpremultiplyTable();
  for (size_t i = 0; i < count; ++i, rgba += 4, argb += 4) {
    const uint8_t a = argb[0];
    rgba[0] = unpremultiply(argb[1], a);
    rgba[1] = unpremultiply(argb[2], a);
    rgba[2] = unpremultiply(argb[3], a);
    rgba[3] = a;
  }
}

void CompositeOver(const uint8_t* inputArgb, size_t count, const pixels::ByteCompositor& composite,
                   uint8_t* outputArgb) {
  for (size_t i = 0; i < count * 4; ++i) outputArgb[i] = composite(inputArgb[i], outputArgb[i]);
}

}  // namespace solvane::frei0r
