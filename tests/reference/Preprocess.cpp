#include <algorithm>
#include <cmath>

#include "ReferenceModel.h"

namespace solvane::reference {
namespace {

float SmoothStep(float e0, float e1, float x) {
  const float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

// Without a transition band the threshold is a hard step; the threshold value itself
// falls on the dark side.
float ThresholdFactor(const PreprocessUniforms& u, float e0, float e1, float x) {
  if (u.thresholdSmoothF > 0.0f) return SmoothStep(e0, e1, x);
  return x > u.thresholdF ? 1.0f : 0.0f;
}

}  // namespace

Rgba PreprocessTexel(const Rgba& texel, const PreprocessUniforms& u) {
  // Alpha-first texel into red, green, blue, alpha, all made positive.
  Rgba c = {std::fabs(texel[1]), std::fabs(texel[2]), std::fabs(texel[3]), std::fabs(texel[0])};
  if (u.thresholdF > 0.0f) {
    const float e0 = u.thresholdF - u.thresholdSmoothF;
    const float e1 = u.thresholdF + u.thresholdSmoothF;
    if (u.thresholdModeL == 1) {
      const float grey = (c[0] + c[2] + c[1]) * 0.333f;
      const float m = ThresholdFactor(u, e0, e1, grey);
      for (size_t i = 0; i < 3; ++i) c[i] *= m;
    } else {
      for (size_t i = 0; i < 3; ++i) c[i] *= ThresholdFactor(u, e0, e1, c[i]);
    }
  }
  if (u.presentViewL == 1) return {c[3], c[0], c[1], c[2]};
  return {c[0] * c[3], c[1] * c[3], c[2] * c[3], 1.0f};
}

Image RunPreprocessPass(const Image& texture, Wrap wrap, int width, int height,
                        const PreprocessUniforms& uniforms) {
  Image result(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const auto [s, t] = PixelCentre(x, y, width, height);
      result.Set(x, y, PreprocessTexel(SampleBilinear(texture, s, t, wrap), uniforms));
    }
  }
  return result;
}

}  // namespace solvane::reference
