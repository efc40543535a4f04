#include "host/WorldOps.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace solvane::host {
namespace {

// The mean of the source pixels in [x0, x1) x [y0, y1), accumulated in double precision.
PF_PixelFloat BlockMean(const World& source, A_long x0, A_long y0, A_long x1, A_long y1) {
  double a = 0, r = 0, g = 0, b = 0;
  for (A_long y = y0; y < y1; ++y) {
    for (A_long x = x0; x < x1; ++x) {
      const PF_PixelFloat p = source.Value(x, y);
      a += p.alpha;
      r += p.red;
      g += p.green;
      b += p.blue;
    }
  }
  const double n = double(x1 - x0) * double(y1 - y0);
  return {float(a / n), float(r / n), float(g / n), float(b / n)};
}

// 8-bit blocks average the bytes themselves, rounding the mean to the nearest byte
// (halves up), so the result does not depend on float conversions.
PF_Pixel8 BlockMean8(const World& source, A_long x0, A_long y0, A_long x1, A_long y1) {
  long a = 0, r = 0, g = 0, b = 0;
  for (A_long y = y0; y < y1; ++y) {
    for (A_long x = x0; x < x1; ++x) {
      const PF_Pixel8 p = source.Pixel8(x, y);
      a += p.alpha;
      r += p.red;
      g += p.green;
      b += p.blue;
    }
  }
  const long n = long(x1 - x0) * long(y1 - y0);
  auto mean = [n](long sum) { return A_u_char((2 * sum + n) / (2 * n)); };
  return {mean(a), mean(r), mean(g), mean(b)};
}

}  // namespace

World ConvertDepth(const World& source, int depth) {
  World out(source.Width(), source.Height(), depth);
  for (A_long y = 0; y < source.Height(); ++y) {
    for (A_long x = 0; x < source.Width(); ++x) out.SetValue(x, y, source.Value(x, y));
  }
  return out;
}

World BoxDownsample(const World& source, int factor) {
  if (factor < 1) throw std::invalid_argument("the downsample factor must be 1 or more");
  const A_long width = A_long((int64_t(source.Width()) + factor - 1) / factor);
  const A_long height = A_long((int64_t(source.Height()) + factor - 1) / factor);
  World out(width, height, source.Depth());
  for (A_long y = 0; y < height; ++y) {
    for (A_long x = 0; x < width; ++x) {
      const A_long x0 = x * factor;
      const A_long y0 = y * factor;
      const A_long x1 = A_long(std::min<int64_t>(int64_t(x0) + factor, source.Width()));
      const A_long y1 = A_long(std::min<int64_t>(int64_t(y0) + factor, source.Height()));
      if (source.Depth() == 8) {
        out.SetPixel8(x, y, BlockMean8(source, x0, y0, x1, y1));
      } else {
        out.SetValue(x, y, BlockMean(source, x0, y0, x1, y1));
      }
    }
  }
  return out;
}

}  // namespace solvane::host
