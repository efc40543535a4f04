// CPU reference model of the effect's two shader passes, for tests: 32-bit float math in
// the shaders' order, bilinear sampling as GL does it on a GL_LINEAR float texture, and the
// noise hash. It is the oracle that GPU output is compared with.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace solvane::reference {

using Rgba = std::array<float, 4>;  // four components in the order they are stored

// width x height pixels of four floats, row 0 first; row 0 is texture coordinate t = 0.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<float> pixels;

  Image() = default;
  Image(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 4, 0.0f) {}

  Rgba At(int x, int y) const;
  void Set(int x, int y, const Rgba& value);
};

// The two wrap modes the effect gives its textures. The border is transparent black.
enum class Wrap { kMirroredRepeat, kClampToBorder };

// Texture lookup at (s, t) with linear filtering: texel centres at (i + 0.5) / size, the
// wrap applied to each of the four texel indices.
Rgba SampleBilinear(const Image& texture, float s, float t, Wrap wrap);

// fract(sin(41 x + 289 y) * 45758.5453), in float.
float Hash(float x, float y);

// The texture coordinate at the centre of pixel (x, y) of a width x height target.
std::array<float, 2> PixelCentre(int x, int y, int width, int height);

struct PreprocessUniforms {
  float thresholdF = 0.0f;
  float thresholdSmoothF = 0.0f;
  float exposureF = 0.0f;  // unused by the pass
  int thresholdModeL = 1;
  int presentViewL = 0;
};

// The pre-process stage for one texel as sampled (alpha-first order).
Rgba PreprocessTexel(const Rgba& texel, const PreprocessUniforms& uniforms);

struct RayUniforms {
  float posX = 0.5f;
  float posY = 0.5f;
  float samplesF = 1.0f;
  float decayF = 0.0f;
  float densityF = 0.0f;
  float weightF = 1.0f;
  float jitterF = 0.0f;
  int modeL = 2;
  int forwardL = 1;
  int backwardL = 0;
  float caF = 0.0f;
  int aberration_channelL = 1;
  float aspectF = 1.0f;
  int unmultL = 0;
};

// The ray stage at texture coordinate p over the pre-processed texture.
Rgba RayFragment(const Image& texture, Wrap wrap, float px, float py, const RayUniforms& uniforms);

// Whole passes over a width x height target, one fragment per pixel centre.
Image RunPreprocessPass(const Image& texture, Wrap wrap, int width, int height,
                        const PreprocessUniforms& uniforms);
Image RunRayPass(const Image& texture, Wrap wrap, int width, int height,
                 const RayUniforms& uniforms);

}  // namespace solvane::reference
