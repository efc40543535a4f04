#include "ShaderTestSupport.h"

#include <cmath>
#include <cstring>

namespace solvane::testing {

void ShaderTest::SetUp() {
  GlContextTest::SetUp();
  if (HasFatalFailure() || IsSkipped()) return;
  BuildEffectPrograms(programs_);
  ASSERT_NE(programs_[0], 0u);
  ASSERT_NE(programs_[1], 0u);
}

void ShaderTest::TearDown() {
  DeleteProgram(&programs_[0]);
  DeleteProgram(&programs_[1]);
  GlContextTest::TearDown();
}

reference::Image ShaderTest::RunPreprocess(const reference::Image& input,
                                           const reference::PreprocessUniforms& u, GLenum wrap) {
  const UniformTable uniforms = {{"thresholdF", UniformValue::Float(u.thresholdF)},
                                 {"thresholdSmoothF", UniformValue::Float(u.thresholdSmoothF)},
                                 {"exposureF", UniformValue::Float(u.exposureF)},
                                 {"thresholdModeL", UniformValue::Int(u.thresholdModeL)},
                                 {"presentViewL", UniformValue::Int(u.presentViewL)}};
  return RunProgram(preprocess(), input, wrap, input.width, input.height, uniforms);
}

reference::Image ShaderTest::RunRays(const reference::Image& input, reference::Wrap wrap, int width,
                                     int height, const reference::RayUniforms& u) {
  const UniformTable uniforms = {{"posX", UniformValue::Float(u.posX)},
                                 {"posY", UniformValue::Float(u.posY)},
                                 {"samplesF", UniformValue::Float(u.samplesF)},
                                 {"decayF", UniformValue::Float(u.decayF)},
                                 {"densityF", UniformValue::Float(u.densityF)},
                                 {"weightF", UniformValue::Float(u.weightF)},
                                 {"jitterF", UniformValue::Float(u.jitterF)},
                                 {"modeL", UniformValue::Int(u.modeL)},
                                 {"forwardL", UniformValue::Int(u.forwardL)},
                                 {"backwardL", UniformValue::Int(u.backwardL)},
                                 {"caF", UniformValue::Float(u.caF)},
                                 {"aberration_channelL", UniformValue::Int(u.aberration_channelL)},
                                 {"aspectF", UniformValue::Float(u.aspectF)},
                                 {"unmultL", UniformValue::Int(u.unmultL)},
                                 {"thresholdF", UniformValue::Float(0.5f)}};
  return RunProgram(rays(), input, ToGl(wrap), width, height, uniforms);
}

float PixelTolerance() {
  const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  const bool software = renderer != nullptr && std::strstr(renderer, "llvmpipe") != nullptr;
  return software ? 2e-5f : 2e-3f;
}

GLenum ToGl(reference::Wrap wrap) {
  return wrap == reference::Wrap::kMirroredRepeat ? GL_MIRRORED_REPEAT : GL_CLAMP_TO_BORDER;
}

reference::Image Pattern(int width, int height, float lo, float span) {
  reference::Image image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      reference::Rgba value{};
      for (int c = 0; c < 4; ++c) {
        const float wave = std::sin(0.3f * x + 0.12f * y * (c + 1) + 1.3f * c);
        value[c] = lo + span * (0.5f + 0.5f * wave);
      }
      image.Set(x, y, value);
    }
  }
  return image;
}

reference::Image Constant(int width, int height, const reference::Rgba& value) {
  reference::Image image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.Set(x, y, value);
  }
  return image;
}

}  // namespace solvane::testing
