#include <algorithm>
#include <cmath>

#include "ReferenceModel.h"

namespace solvane::reference {
namespace {

struct Vec2 {
  float x = 0.0f;
  float y = 0.0f;
};

Vec2 operator+(Vec2 a, Vec2 b) {
  return {a.x + b.x, a.y + b.y};
}
Vec2 operator-(Vec2 a, Vec2 b) {
  return {a.x - b.x, a.y - b.y};
}
Vec2 operator*(Vec2 a, float k) {
  return {a.x * k, a.y * k};
}
Vec2 operator/(Vec2 a, float k) {
  return {a.x / k, a.y / k};
}

void AddWeighted(Rgba& sum, const Rgba& value, float w) {
  for (size_t c = 0; c < 4; ++c) sum[c] += value[c] * w;
}

// Everything the stage computes once per pixel.
struct Setup {
  Vec2 p, P;
  float h = 0.0f;
  float decay = 0.0f;
  float weightNorm = 0.0f;
  Vec2 dTuv, dR, dG, dB;
  float incrF = 0.0f;
  std::array<float, 3> channelWeight = {1.0f, 1.0f, 1.0f};
  bool aberration = false;
};

Setup MakeSetup(float px, float py, const RayUniforms& u) {
  Setup s;
  s.p = {px, py};
  s.P = {u.posX, u.posY};
  s.h = Hash(px, py);
  const float n = u.samplesF;
  s.decay = 1.0f - (1.0f / n) * u.decayF;
  const float density = std::min(u.densityF, 1.0f);
  s.weightNorm = (1.0f / n) * u.weightF;
  const Vec2 tuv = s.p - s.P;
  s.dTuv = (tuv * density) / n;
  s.incrF = (u.densityF * 0.01f) / n;
  s.dR = s.dG = s.dB = s.dTuv;
  s.aberration = u.caF != 0.0f;
  if (!s.aberration) return s;

  const float caMod = u.caF * 0.1f;
  const Vec2 longer = (tuv * (density + caMod)) / n;
  const Vec2 shorter = (tuv * (density - caMod)) / n;
  auto& w = s.channelWeight;
  if (u.aberration_channelL == 1) {
    s.dR = longer, s.dB = shorter, w[0] += u.caF, w[2] -= u.caF;
  } else if (u.aberration_channelL == 2) {
    s.dR = longer, s.dG = shorter, w[0] += u.caF, w[1] -= u.caF;
  } else {
    s.dG = longer, s.dB = shorter, w[1] += u.caF, w[2] -= u.caF;
  }
  return s;
}

Rgba Merge(const Rgba& r, const Rgba& g, const Rgba& b) {
  return {r[0], g[1], b[2], (r[3] + g[3] + b[3]) * 0.333f};
}

// One zoom direction with per-channel steps; sign -1 walks towards P, +1 away from it.
void ZoomPass(const Image& tex, Wrap wrap, const Setup& s, const RayUniforms& u, Vec2 start,
              float sign, bool shiftFirst, std::array<Rgba, 3>& sums) {
  const Vec2 steps[3] = {s.dR * sign, s.dG * sign, s.dB * sign};
  Vec2 q[3] = {start, start, start};
  if (shiftFirst) {
    for (int c = 0; c < 3; ++c) q[c] = q[c] + steps[c];
  }
  float w = s.weightNorm;
  for (float i = 0.0f; i < u.samplesF; i += 1.0f) {
    for (int c = 0; c < 3; ++c) AddWeighted(sums[c], SampleBilinear(tex, q[c].x, q[c].y, wrap), w);
    w *= s.decay;
    for (int c = 0; c < 3; ++c) q[c] = q[c] + steps[c];
  }
}

Rgba Zoom(const Image& tex, Wrap wrap, const Setup& s, const RayUniforms& u) {
  const Vec2 start = s.p + s.dTuv * (s.h * u.jitterF - 1.0f);
  std::array<Rgba, 3> sums{};
  if (u.forwardL == 1) ZoomPass(tex, wrap, s, u, start, -1.0f, false, sums);
  if (u.backwardL == 1) ZoomPass(tex, wrap, s, u, start, 1.0f, u.forwardL == 1, sums);
  // Without aberration all three sums are the same single sum.
  return s.aberration ? Merge(sums[0], sums[1], sums[2]) : sums[0];
}

Vec2 ModifyCoords(const Setup& s, const RayUniforms& u, float theta) {
  Vec2 d = s.p - s.P;
  d.x /= u.aspectF;
  Vec2 r = {d.x * std::cos(theta) + d.y * std::sin(theta),
            -d.x * std::sin(theta) + d.y * std::cos(theta)};
  r.x *= u.aspectF;
  return s.P + r;
}

void AddArc(const Image& tex, Wrap wrap, const Setup& s, const RayUniforms& u, float theta, float w,
            Rgba& sum) {
  const Vec2 a = ModifyCoords(s, u, theta);
  const Vec2 b = ModifyCoords(s, u, -theta);
  AddWeighted(sum, SampleBilinear(tex, a.x, a.y, wrap), w);
  AddWeighted(sum, SampleBilinear(tex, b.x, b.y, wrap), w);
}

Rgba Spin(const Image& tex, Wrap wrap, const Setup& s, const RayUniforms& u) {
  float random = std::fabs(s.h * (u.jitterF * 0.01f));
  random *= u.densityF * 0.1f;
  std::array<Rgba, 3> sums{};
  std::array<float, 3> angle{};
  const int channels = s.aberration ? 3 : 1;
  float w = s.weightNorm;
  for (float i = 0.0f; i < u.samplesF; i += 1.0f) {
    const float fuzz = random * (i / u.samplesF);
    for (int c = 0; c < channels; ++c) AddArc(tex, wrap, s, u, angle[c] + fuzz, w, sums[c]);
    for (int c = 0; c < 3; ++c) angle[c] += s.aberration ? s.incrF * s.channelWeight[c] : s.incrF;
    w *= s.decay;
  }
  return s.aberration ? Merge(sums[0], sums[1], sums[2]) : sums[0];
}

Rgba Finish(const Rgba& col, const RayUniforms& u) {
  if (u.unmultL == 1) {
    const float b = std::min(std::max(std::max(col[0], col[1]), col[2]), 1.0f);
    if (b > 0.0f) return {col[0] / b, col[1] / b, col[2] / b, b};
    return {0.0f, 0.0f, 0.0f, 0.0f};
  }
  return {col[0], col[1], col[2], std::min(col[3], 1.0f)};
}

}  // namespace

Rgba RayFragment(const Image& texture, Wrap wrap, float px, float py, const RayUniforms& u) {
  const Setup s = MakeSetup(px, py, u);
  const Rgba col = u.modeL == 2 ? Zoom(texture, wrap, s, u) : Spin(texture, wrap, s, u);
  const Rgba result = Finish(col, u);
  return {result[3], result[0], result[1], result[2]};
}

Image RunRayPass(const Image& texture, Wrap wrap, int width, int height, const RayUniforms& u) {
  Image result(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const auto [s, t] = PixelCentre(x, y, width, height);
      result.Set(x, y, RayFragment(texture, wrap, s, t, u));
    }
  }
  return result;
}

}  // namespace solvane::reference
