// The pre-process stage on the GPU: component order, absolute values, both outputs, and
// the soft and hard thresholds in luminance and per-channel mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Quad.h"
#include "ShaderTestSupport.h"

namespace solvane {
namespace {

using reference::Image;
using reference::PreprocessUniforms;
using reference::Rgba;
using testing::PixelTolerance;

// Texel fetches at pixel centres may carry a rounding of the filter weights.
void ExpectRgbaNear(const Rgba& actual, const Rgba& expected) {
  for (size_t c = 0; c < 4; ++c) {
    EXPECT_NEAR(actual[c], expected[c], PixelTolerance() * std::max(1.0f, std::fabs(expected[c])))
        << "component " << c;
  }
}

class PreprocessShader : public testing::ShaderTest {
 protected:
  void ExpectMatchesReference(const Image& input, const PreprocessUniforms& u) {
    const Image expected = reference::RunPreprocessPass(input, reference::Wrap::kClampToBorder,
                                                        input.width, input.height, u);
    EXPECT_TRUE(testing::ImagesNear(RunPreprocess(input, u), expected, PixelTolerance()));
  }
};

// Alpha-first texels with negative, above-one and transparent values.
Image Mixed() {
  Image image = testing::Pattern(5, 3, -0.5f, 2.5f);
  image.Set(0, 0, {0.0f, 0.8f, 0.3f, 0.1f});    // transparent
  image.Set(1, 0, {0.5f, 0.2f, -0.4f, 2.0f});   // negative green, blue above 1
  image.Set(2, 0, {1.0f, 3.0f, 0.05f, 0.05f});  // saturated red
  return image;
}

TEST_F(PreprocessShader, WithoutThresholdOnlyReordersAndTakesAbsoluteValues) {
  PreprocessUniforms u;
  for (int view : {0, 1}) {
    u.presentViewL = view;
    SCOPED_TRACE(view);
    ExpectMatchesReference(Mixed(), u);
  }
  const Image flat = RunPreprocess(Mixed(), u = {});
  ExpectRgbaNear(flat.At(0, 0), Rgba{0.0f, 0.0f, 0.0f, 1.0f});  // transparent -> opaque black
  ExpectRgbaNear(flat.At(1, 0), Rgba{0.1f, 0.2f, 1.0f, 1.0f});
  u.presentViewL = 1;
  ExpectRgbaNear(RunPreprocess(Mixed(), u).At(1, 0), Rgba{0.5f, 0.2f, 0.4f, 2.0f});
}

TEST_F(PreprocessShader, LumaThresholdScalesAllChannelsAlike) {
  PreprocessUniforms u;
  u.thresholdF = 1.0f;
  u.thresholdSmoothF = 0.25f;
  u.thresholdModeL = 1;
  for (int view : {0, 1}) {
    u.presentViewL = view;
    SCOPED_TRACE(view);
    ExpectMatchesReference(Mixed(), u);
  }
  // The saturated pixel's grey level lies inside the band: scaled, hue kept.
  const Rgba out = RunPreprocess(Mixed(), u).At(2, 0);
  EXPECT_GT(out[1], 0.0f);
  EXPECT_LT(out[1], 3.0f);
  EXPECT_NEAR(out[2] / out[1], 0.05f / 3.0f, 1e-5f);
}

TEST_F(PreprocessShader, ChromaThresholdKeepsSomeChannelsAndDropsOthers) {
  PreprocessUniforms u;
  u.thresholdF = 0.5f;
  u.thresholdSmoothF = 0.1f;
  u.thresholdModeL = 2;
  for (int view : {0, 1}) {
    u.presentViewL = view;
    SCOPED_TRACE(view);
    ExpectMatchesReference(Mixed(), u);
  }
  u.presentViewL = 1;
  // Red 3.0 is above the band and kept whole; green and blue 0.05 are below it.
  ExpectRgbaNear(RunPreprocess(Mixed(), u).At(2, 0), Rgba{1.0f, 3.0f, 0.0f, 0.0f});
}

TEST_F(PreprocessShader, ZeroSmoothIsAHardStepWithTheThresholdOnTheDarkSide) {
  PreprocessUniforms u;
  u.thresholdF = 0.5f;
  u.thresholdModeL = 2;
  u.presentViewL = 1;
  // A one-texel image under mirrored repeat filters to exactly its texel on any GPU, so
  // the values right at the threshold arrive unchanged.
  const auto hard = [&](const Rgba& texel) {
    return RunPreprocess(testing::Constant(1, 1, texel), u, GL_MIRRORED_REPEAT).At(0, 0);
  };
  EXPECT_EQ(hard({1.0f, 0.5f, 0.50001f, 0.49999f}), (Rgba{1.0f, 0.0f, 0.50001f, 0.0f}));
  EXPECT_EQ(hard({1.0f, 2.0f, 0.0f, 0.7f}), (Rgba{1.0f, 2.0f, 0.0f, 0.7f}));
  EXPECT_EQ(hard({1.0f, -0.6f, 0.5f, 0.0f}), (Rgba{1.0f, 0.6f, 0.0f, 0.0f}));
  u.thresholdModeL = 1;
  EXPECT_EQ(hard({0.5f, 0.5f, 0.5f, 0.5f}), (Rgba{0.5f, 0.0f, 0.0f, 0.0f}));
  EXPECT_EQ(hard({0.5f, 0.6f, 0.6f, 0.6f}), (Rgba{0.5f, 0.6f, 0.6f, 0.6f}));
  ExpectMatchesReference(Mixed(), u);
  u.thresholdModeL = 2;
  ExpectMatchesReference(Mixed(), u);
}

TEST_F(PreprocessShader, ExposureHasNoEffect) {
  PreprocessUniforms u;
  u.thresholdF = 0.4f;
  u.thresholdSmoothF = 0.2f;
  const Image base = RunPreprocess(Mixed(), u);
  u.exposureF = 7.5f;
  EXPECT_EQ(RunPreprocess(Mixed(), u).pixels, base.pixels);
}

TEST_F(PreprocessShader, EightBitHostPixelArrivesInTrueOrder) {
  testing::PaddedPixels bytes(1, 1, PixelFormat::kArgb8);
  const std::uint8_t argb[4] = {255, 10, 20, 30};
  std::copy(argb, argb + 4, bytes.BytePixel(0, 0));
  RenderTarget source, output;
  CreateRenderTarget(source, 1, 1, GL_CLAMP_TO_BORDER, GL_RGBA32F);
  CreateRenderTarget(output, 1, 1, GL_CLAMP_TO_BORDER, GL_RGBA32F);
  UploadToTexture(source.attachment.texture, bytes.view());
  const UniformTable uniforms = {{"inTex", UniformValue::Texture2D(source.attachment.texture)},
                                 {"thresholdF", UniformValue::Float(0)},
                                 {"thresholdSmoothF", UniformValue::Float(0)},
                                 {"thresholdModeL", UniformValue::Int(1)},
                                 {"presentViewL", UniformValue::Int(0)}};
  DrawQuad(output, preprocess(), uniforms, false, TexRect{}, false);
  testing::PaddedPixels result(1, 1, PixelFormat::kArgbFloat);
  ReadRenderTarget(output, result.view(), GL_COLOR_ATTACHMENT0);
  const float* p = result.FloatPixel(0, 0);
  EXPECT_FLOAT_EQ(p[0], 10.0f / 255.0f);
  EXPECT_FLOAT_EQ(p[1], 20.0f / 255.0f);
  EXPECT_FLOAT_EQ(p[2], 30.0f / 255.0f);
  EXPECT_FLOAT_EQ(p[3], 1.0f);
  DeleteRenderTarget(&source);
  DeleteRenderTarget(&output);
}

}  // namespace
}  // namespace solvane
