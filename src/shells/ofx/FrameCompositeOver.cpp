#include "shells/ofx/FrameCompositeOver.h"

#include <algorithm>
#include <cstring>

#include "core/pixels/Composite.h"

namespace solvane::ofx {
namespace {

// The pixel at (column, row from the top) of a frame.
template <typename T>
T* At(CoreFrame& frame, int32_t column, int32_t row) {
  return reinterpret_cast<T*>(frame.bytes.data()) +
         (size_t(row) * size_t(frame.Width()) + size_t(column)) * 4;
}

template <typename T>
const T* At(const CoreFrame& frame, int32_t column, int32_t row) {
  return At<T>(const_cast<CoreFrame&>(frame), column, row);
}

// Calls draw(source pixel, destination pixel) for every input pixel inside the output.
template <typename T, typename Draw>
void Overlap(const CoreFrame& input, int32_t offsetX, int32_t offsetY, CoreFrame& output,
             Draw draw) {
  const int32_t x0 = std::max(0, -offsetX);
  const int32_t x1 = std::min(input.Width(), output.Width() - offsetX);
  const int32_t y0 = std::max(0, -offsetY);
  const int32_t y1 = std::min(input.Height(), output.Height() - offsetY);
  for (int32_t y = y0; y < y1; ++y) {
    for (int32_t x = x0; x < x1; ++x) {
      draw(At<T>(input, x, y), At<T>(output, x + offsetX, y + offsetY));
    }
  }
}

}  // namespace

void CompositeInputOver(const CoreFrame& input, int32_t offsetX, int32_t offsetY,
                        const FrameComposite& composite, uint8_t opacity, CoreFrame& output) {
  if (input.format == PixelFormat::kArgbFloat) {
    Overlap<float>(input, offsetX, offsetY, output, [&](const float* s, float* d) {
      const pixels::ArgbFloat r = pixels::CompositeFloat(composite.op, {s[0], s[1], s[2], s[3]},
                                                         {d[0], d[1], d[2], d[3]}, opacity);
      std::memcpy(d, r.data(), sizeof r);
    });
    return;
  }
  const pixels::Compositor8 compositor(composite.op, opacity);
  Overlap<uint8_t>(input, offsetX, offsetY, output, [&](const uint8_t* s, uint8_t* d) {
    const pixels::Argb8 r = compositor({s[0], s[1], s[2], s[3]}, {d[0], d[1], d[2], d[3]});
    std::memcpy(d, r.data(), sizeof r);
  });
}

}  // namespace solvane::ofx
