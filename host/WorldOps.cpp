#include "host/WorldOps.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>

namespace solvane::host {
namespace {

// The straight colour of a block is its alpha-weighted mean, so that transparent pixels,
// whatever colour they hold, do not darken the edge of what is visible; a block with no
// alpha at all keeps the plain mean of its colour.
struct BlockSums {
  double alpha = 0, weight = 0;
  std::array<double, 3> weighted{}, plain{};
  void Add(double a, double w, double r, double g, double b) {
    alpha += a;
    weight += w;
    weighted = {weighted[0] + w * r, weighted[1] + w * g, weighted[2] + w * b};
    plain = {plain[0] + r, plain[1] + g, plain[2] + b};
  }
  double Colour(int c, double n) const { return weight > 0 ? weighted[c] / weight : plain[c] / n; }
};

// The block [x0, x1) x [y0, y1), in double precision; the weights are alphas taken into 0..1.
PF_PixelFloat BlockMean(const World& source, A_long x0, A_long y0, A_long x1, A_long y1) {
  BlockSums sums;
  for (A_long y = y0; y < y1; ++y) {
    for (A_long x = x0; x < x1; ++x) {
      const PF_PixelFloat p = source.Value(x, y);
      sums.Add(p.alpha, std::clamp(double(p.alpha), 0.0, 1.0), p.red, p.green, p.blue);
    }
  }
  const double n = double(x1 - x0) * double(y1 - y0);
  return {float(sums.alpha / n), float(sums.Colour(0, n)), float(sums.Colour(1, n)),
          float(sums.Colour(2, n))};
}

// 8-bit blocks work on the bytes themselves in integers, rounding each mean to the nearest
// byte (halves up), so the result does not depend on float conversions.
PF_Pixel8 BlockMean8(const World& source, A_long x0, A_long y0, A_long x1, A_long y1) {
  int64_t alpha = 0;
  std::array<int64_t, 3> weighted{}, plain{};
  for (A_long y = y0; y < y1; ++y) {
    for (A_long x = x0; x < x1; ++x) {
      const PF_Pixel8 p = source.Pixel8(x, y);
      const std::array<int64_t, 3> colour{p.red, p.green, p.blue};
      alpha += p.alpha;
      for (int c = 0; c < 3; ++c) {
        weighted[c] += colour[c] * p.alpha;
        plain[c] += colour[c];
      }
    }
  }
  const int64_t n = int64_t(x1 - x0) * int64_t(y1 - y0);
  auto mean = [](int64_t sum, int64_t count) { return A_u_char((2 * sum + count) / (2 * count)); };
  auto colour = [&](int c) { return alpha > 0 ? mean(weighted[c], alpha) : mean(plain[c], n); };
  return {mean(alpha, n), colour(0), colour(1), colour(2)};
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
