#include "pixels/Composite8.h"

#include <algorithm>
#include <cmath>

namespace solvane::pixels {

uint8_t CompositeChannel8(BlendOp op, uint8_t source, uint8_t destination, uint8_t opacity) {
  const double s = double(source) * opacity / 255.0;
  const double d = destination;
  const double v = op == BlendOp::kAdd ? d + s : s + d - s * d / 255.0;
  return uint8_t(std::clamp(std::floor(v + 0.5), 0.0, 255.0));
}

ByteCompositor::ByteCompositor(BlendOp op, uint8_t opacity) : table_(256 * 256) {
  for (int s = 0; s < 256; ++s) {
    for (int d = 0; d < 256; ++d) {
      table_[size_t(s) << 8 | size_t(d)] = CompositeChannel8(op, uint8_t(s), uint8_t(d), opacity);
    }
  }
}

}  // namespace solvane::pixels
