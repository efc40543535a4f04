// The ray stage on the GPU against the reference model and against values worked out by
// hand: zoom in both directions, spin, chromatic aberration, un-multiply, wrap modes and
// noise.
#include <gtest/gtest.h>

#include <cmath>

#include "ShaderTestSupport.h"

namespace solvane {
namespace {

using reference::Image;
using reference::RayUniforms;
using reference::Rgba;
using reference::Wrap;
using testing::PixelTolerance;

constexpr int kWidth = 16;
constexpr int kHeight = 12;

RayUniforms Zoom() {
  RayUniforms u;
  u.modeL = 2;
  u.posX = 0.3f;
  u.posY = 0.6f;
  u.samplesF = 8;
  u.decayF = 0.3f;
  u.densityF = 0.7f;
  u.weightF = 1.2f;
  u.aspectF = static_cast<float>(kHeight) / kWidth;
  return u;
}

RayUniforms Spin() {
  RayUniforms u = Zoom();
  u.modeL = 1;
  u.densityF = 40.0f;
  return u;
}

class RayShader : public testing::ShaderTest {
 protected:
  Image Gpu(const RayUniforms& u, Wrap wrap = Wrap::kClampToBorder,
            const Image& input = testing::Pattern(kWidth, kHeight)) {
    return RunRays(input, wrap, kWidth, kHeight, u);
  }
  void ExpectMatchesReference(const RayUniforms& u, Wrap wrap = Wrap::kClampToBorder,
                              const Image& input = testing::Pattern(kWidth, kHeight)) {
    const Image expected = reference::RunRayPass(input, wrap, kWidth, kHeight, u);
    EXPECT_TRUE(testing::ImagesNear(Gpu(u, wrap, input), expected, PixelTolerance()));
  }
};

// The output pixel's colour as (red, green, blue, alpha), out of the alpha-first order.
Rgba TrueOrder(const Image& image, int x, int y) {
  const Rgba p = image.At(x, y);
  return {p[1], p[2], p[3], p[0]};
}

TEST_F(RayShader, ZoomForwardBackwardAndBothMatchTheModel) {
  for (auto [forward, backward] : {std::pair{1, 0}, {0, 1}, {1, 1}}) {
    RayUniforms u = Zoom();
    u.forwardL = forward;
    u.backwardL = backward;
    SCOPED_TRACE(::testing::PrintToString(std::pair{forward, backward}));
    ExpectMatchesReference(u);
    u.unmultL = 1;
    ExpectMatchesReference(u);
  }
}

TEST_F(RayShader, FourSamplesWithDecayTwoWeighOneHalfQuarterEighth) {
  RayUniforms u = Zoom();
  u.samplesF = 4, u.decayF = 2, u.weightF = 4;
  const Rgba colour = {0.4f, 0.2f, 0.1f, 0.5f};
  const Image out = Gpu(u, Wrap::kMirroredRepeat, testing::Constant(kWidth, kHeight, colour));
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(TrueOrder(out, 9, 4)[c], colour[c] * 1.875f, 1e-5f);
  EXPECT_NEAR(TrueOrder(out, 9, 4)[3], 0.5f * 1.875f, 1e-5f);
}

TEST_F(RayShader, PixelAtThePositionReadsItselfAtEveryStep) {
  RayUniforms u = Zoom();
  u.samplesF = 4, u.decayF = 2, u.weightF = 4, u.backwardL = 1;
  u.posX = 5.5f / kWidth;
  u.posY = 7.5f / kHeight;
  const Image input = testing::Pattern(kWidth, kHeight);
  const Rgba expected = input.At(5, 7);
  const Rgba got = TrueOrder(Gpu(u, Wrap::kClampToBorder, input), 5, 7);
  // Two passes of weights 1 + 0.5 + 0.25 + 0.125.
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], expected[c] * 3.75f, 1e-5f);
}

TEST_F(RayShader, ZoomWithNoDirectionIsTransparentBlack) {
  RayUniforms u = Zoom();
  u.forwardL = 0;
  for (int unmult : {0, 1}) {
    u.unmultL = unmult;
    for (float v : Gpu(u).pixels) EXPECT_EQ(v, 0.0f);
  }
}

TEST_F(RayShader, ZoomDensityAboveOneActsAsOne) {
  RayUniforms u = Zoom();
  u.densityF = 1.0f;
  const Image atOne = Gpu(u);
  u.densityF = 3.0f;
  EXPECT_EQ(Gpu(u).pixels, atOne.pixels);
}

TEST_F(RayShader, SpinWithZeroDensityReadsThePixelTwicePerPass) {
  RayUniforms u = Spin();
  u.densityF = 0.0f;
  u.samplesF = 4, u.decayF = 2, u.weightF = 4;
  const Image input = testing::Pattern(kWidth, kHeight);
  const Image out = Gpu(u, Wrap::kClampToBorder, input);
  for (auto [x, y] : {std::pair{0, 0}, {7, 3}, {15, 11}}) {
    for (int c = 0; c < 3; ++c) {
      EXPECT_NEAR(TrueOrder(out, x, y)[c], 2.0f * 1.875f * input.At(x, y)[c], 1e-5f);
    }
  }
}

TEST_F(RayShader, SpinMatchesTheModelIncludingTheHalfRadianExample) {
  RayUniforms u = Spin();
  ExpectMatchesReference(u);
  u.samplesF = 2, u.densityF = 100, u.jitterF = 0;  // second pass at +-0.5 rad
  ExpectMatchesReference(u);
  ExpectMatchesReference(u, Wrap::kMirroredRepeat);
  u.modeL = 0;  // anything but 2 spins
  ExpectMatchesReference(u);
}

TEST_F(RayShader, ChromaticAberrationForEveryChannelChoiceAndSign) {
  for (int mode : {2, 1}) {
    for (int channels : {1, 2, 3}) {
      for (float amount : {0.4f, -0.4f}) {
        RayUniforms u = mode == 2 ? Zoom() : Spin();
        u.backwardL = 1;
        u.weightF = 0.4f;  // keeps the merged alpha below its cap of 1
        u.caF = amount;
        u.aberration_channelL = channels;
        SCOPED_TRACE(::testing::PrintToString(std::tuple{mode, channels, amount}));
        ExpectMatchesReference(u);
      }
    }
  }
}

TEST_F(RayShader, ZeroAberrationIgnoresTheChannelChoice) {
  RayUniforms u = Zoom();
  u.aberration_channelL = 1;
  const Image first = Gpu(u);
  u.aberration_channelL = 3;
  EXPECT_EQ(Gpu(u).pixels, first.pixels);
}

// One sample of weight 1 of a constant image: the summed colour is the image's colour.
Rgba SingleSample(RayShader& test, const Rgba& colour, int unmult) {
  RayUniforms u = Zoom();
  u.samplesF = 1, u.decayF = 0, u.weightF = 1, u.unmultL = unmult;
  const Image input = testing::Constant(kWidth, kHeight, colour);
  const Image out = test.RunRays(input, Wrap::kMirroredRepeat, kWidth, kHeight, u);
  return out.At(3, 3);  // alpha-first
}

TEST_F(RayShader, UnmultiplyTakesAlphaFromTheBrightestChannel) {
  EXPECT_EQ(SingleSample(*this, {2.0f, 1.0f, 0.5f, 0.3f}, 1), (Rgba{1.0f, 2.0f, 1.0f, 0.5f}));
  const Rgba dim = SingleSample(*this, {0.5f, 0.25f, 0.1f, 0.9f}, 1);
  EXPECT_FLOAT_EQ(dim[0], 0.5f);
  EXPECT_FLOAT_EQ(dim[1], 1.0f);
  EXPECT_FLOAT_EQ(dim[2], 0.5f);
  EXPECT_FLOAT_EQ(dim[3], 0.2f);
  EXPECT_EQ(SingleSample(*this, {0.0f, 0.0f, 0.0f, 1.0f}, 1), (Rgba{0, 0, 0, 0}));
  EXPECT_EQ(SingleSample(*this, {-1.0f, 0.0f, -0.5f, 1.0f}, 1), (Rgba{0, 0, 0, 0}));
  // Without un-multiplying only alpha is capped.
  EXPECT_EQ(SingleSample(*this, {2.0f, 1.0f, 0.5f, 3.0f}, 0), (Rgba{1.0f, 2.0f, 1.0f, 0.5f}));
}

TEST_F(RayShader, SamplesOutsideTheUnitSquareFollowTheWrapMode) {
  RayUniforms u = Zoom();
  u.posX = 0.5f, u.posY = 0.5f, u.densityF = 1.0f, u.samplesF = 12;
  u.forwardL = 0, u.backwardL = 1;  // walks outward, past the edges
  ExpectMatchesReference(u, Wrap::kMirroredRepeat);
  ExpectMatchesReference(u, Wrap::kClampToBorder);
  EXPECT_NE(Gpu(u, Wrap::kMirroredRepeat).pixels, Gpu(u, Wrap::kClampToBorder).pixels);
  u = Spin();
  u.densityF = 150.0f;
  ExpectMatchesReference(u, Wrap::kMirroredRepeat);
  ExpectMatchesReference(u, Wrap::kClampToBorder);
}

double MeanAbsoluteDifference(const Image& a, const Image& b) {
  double sum = 0.0;
  for (size_t i = 0; i < a.pixels.size(); ++i) sum += std::fabs(a.pixels[i] - b.pixels[i]);
  return sum / static_cast<double>(a.pixels.size());
}

double Mean(const Image& image) {
  double sum = 0.0;
  for (float v : image.pixels) sum += v;
  return sum / static_cast<double>(image.pixels.size());
}

// The hash multiplies the sine by 45758, so one rounding step of its argument (a fused
// multiply-add, a shorter sine) gives a GPU a different noise value for that pixel than
// the model's. Noise is therefore compared by its strength and its mean over the image.
void ExpectNoiseAgreesStatistically(RayShader& test, RayUniforms u) {
  const Image input = testing::Pattern(kWidth, kHeight);
  const Image noisyModel = reference::RunRayPass(input, Wrap::kClampToBorder, kWidth, kHeight, u);
  const Image noisy = test.RunRays(input, Wrap::kClampToBorder, kWidth, kHeight, u);
  u.jitterF = 0.0f;
  const Image cleanModel = reference::RunRayPass(input, Wrap::kClampToBorder, kWidth, kHeight, u);
  const Image clean = test.RunRays(input, Wrap::kClampToBorder, kWidth, kHeight, u);

  const double strength = MeanAbsoluteDifference(noisy, clean);
  const double modelStrength = MeanAbsoluteDifference(noisyModel, cleanModel);
  EXPECT_GT(modelStrength, 1e-3);
  EXPECT_GT(strength, modelStrength * 0.6);
  EXPECT_LT(strength, modelStrength / 0.6);
  EXPECT_NEAR(Mean(noisy), Mean(noisyModel), 0.1 * modelStrength + 1e-4);
}

TEST_F(RayShader, NoiseFollowsTheHashInZoomAndSpin) {
  RayUniforms zoom = Zoom();
  zoom.jitterF = 1.0f;
  ExpectNoiseAgreesStatistically(*this, zoom);
  RayUniforms spin = Spin();
  spin.jitterF = 60.0f;
  ExpectNoiseAgreesStatistically(*this, spin);
}

}  // namespace
}  // namespace solvane
