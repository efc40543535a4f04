#include <algorithm>
#include <cmath>

#include "ReferenceModel.h"

namespace solvane::reference {
namespace {

// GL's mirrored repeat on a texel index: ... 1 0 | 0 1 ... size-1 | size-1 ...
int MirrorIndex(int i, int size) {
  const int period = 2 * size;
  const int m = ((i % period) + period) % period - size;
  const int mirrored = m >= 0 ? m : -(1 + m);
  return (size - 1) - mirrored;
}

Rgba Texel(const Image& texture, int i, int j, Wrap wrap) {
  if (wrap == Wrap::kMirroredRepeat) {
    i = MirrorIndex(i, texture.width);
    j = MirrorIndex(j, texture.height);
  } else if (i < 0 || j < 0 || i >= texture.width || j >= texture.height) {
    return {0.0f, 0.0f, 0.0f, 0.0f};
  }
  return texture.At(i, j);
}

}  // namespace

Rgba Image::At(int x, int y) const {
  const size_t base = (static_cast<size_t>(y) * width + x) * 4;
  return {pixels[base], pixels[base + 1], pixels[base + 2], pixels[base + 3]};
}

void Image::Set(int x, int y, const Rgba& value) {
  const size_t base = (static_cast<size_t>(y) * width + x) * 4;
  std::copy(value.begin(), value.end(), pixels.begin() + static_cast<std::ptrdiff_t>(base));
}

Rgba SampleBilinear(const Image& texture, float s, float t, Wrap wrap) {
  // Far outside the texture every wrap mode has long repeated; keep the indices in range.
  const float limit = 1.0e6f;
  const float u = std::clamp(s * static_cast<float>(texture.width) - 0.5f, -limit, limit);
  const float v = std::clamp(t * static_cast<float>(texture.height) - 0.5f, -limit, limit);
  const float u0 = std::floor(u);
  const float v0 = std::floor(v);
  const float a = u - u0;
  const float b = v - v0;
  const int i = static_cast<int>(u0);
  const int j = static_cast<int>(v0);
  const Rgba t00 = Texel(texture, i, j, wrap);
  const Rgba t10 = Texel(texture, i + 1, j, wrap);
  const Rgba t01 = Texel(texture, i, j + 1, wrap);
  const Rgba t11 = Texel(texture, i + 1, j + 1, wrap);
  Rgba result{};
  for (size_t c = 0; c < 4; ++c) {
    result[c] = (1.0f - a) * (1.0f - b) * t00[c] + a * (1.0f - b) * t10[c] +
                (1.0f - a) * b * t01[c] + a * b * t11[c];
  }
  return result;
}

float Hash(float x, float y) {
  const float value = std::sin(41.0f * x + 289.0f * y) * 45758.5453f;
  return value - std::floor(value);
}

std::array<float, 2> PixelCentre(int x, int y, int width, int height) {
  return {(static_cast<float>(x) + 0.5f) / static_cast<float>(width),
          (static_cast<float>(y) + 0.5f) / static_cast<float>(height)};
}

}  // namespace solvane::reference
