// The reference model against hand-computed values, so that the oracle itself is known to
// follow GL's sampling rules and the passes' arithmetic.
#include <gtest/gtest.h>

#include "ReferenceModel.h"

namespace solvane::reference {
namespace {

Image Ramp() {  // 4 x 2, component 0 holds 10 * x + y
  Image image(4, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) image.Set(x, y, {10.0f * x + y, 1.0f, 0.0f, 1.0f});
  }
  return image;
}

TEST(ReferenceSampling, CentresHitTexelsAndHalfwayAverages) {
  const Image image = Ramp();
  EXPECT_EQ(SampleBilinear(image, 2.5f / 4, 0.5f / 2, Wrap::kClampToBorder)[0], 20.0f);
  EXPECT_FLOAT_EQ(SampleBilinear(image, 2.0f / 4, 1.0f / 2, Wrap::kClampToBorder)[0], 15.5f);
}

TEST(ReferenceSampling, MirroredRepeatReflectsAtEveryEdge) {
  const Image image = Ramp();
  // Texel -1 mirrors onto texel 0, texel 4 onto texel 3, texel 5 onto texel 2.
  EXPECT_EQ(SampleBilinear(image, -0.5f / 4, 0.25f, Wrap::kMirroredRepeat)[0], 0.0f);
  EXPECT_EQ(SampleBilinear(image, 4.5f / 4, 0.25f, Wrap::kMirroredRepeat)[0], 30.0f);
  EXPECT_EQ(SampleBilinear(image, 5.5f / 4, 0.25f, Wrap::kMirroredRepeat)[0], 20.0f);
  EXPECT_EQ(SampleBilinear(image, 8.5f / 4, 0.25f, Wrap::kMirroredRepeat)[0], 0.0f);
}

TEST(ReferenceSampling, BorderIsTransparentBlack) {
  const Image image = Ramp();
  EXPECT_EQ(SampleBilinear(image, 4.5f / 4, 0.25f, Wrap::kClampToBorder),
            (Rgba{0.0f, 0.0f, 0.0f, 0.0f}));
  // On the edge, half the last texel and half the border.
  EXPECT_FLOAT_EQ(SampleBilinear(image, 1.0f, 0.25f, Wrap::kClampToBorder)[0], 15.0f);
  EXPECT_FLOAT_EQ(SampleBilinear(image, 1.0f, 0.25f, Wrap::kClampToBorder)[3], 0.5f);
}

TEST(ReferenceHash, StaysInUnitIntervalAndVanishesAtOrigin) {
  EXPECT_EQ(Hash(0.0f, 0.0f), 0.0f);
  for (int i = 0; i < 100; ++i) {
    const float h = Hash(i * 0.013f, i * 0.007f);
    EXPECT_GE(h, 0.0f);
    EXPECT_LT(h, 1.0f);
  }
}

TEST(ReferenceRays, FourSamplesWithHalfDecayWeighOneHalfQuarterEighth) {
  Image flat(4, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) flat.Set(x, y, {0.5f, 0.25f, 1.0f, 1.0f});
  }
  RayUniforms u;
  u.samplesF = 4, u.decayF = 2, u.weightF = 4, u.densityF = 0.5f;
  const Rgba out = RayFragment(flat, Wrap::kClampToBorder, 0.625f, 0.375f, u);
  EXPECT_FLOAT_EQ(out[1], 0.5f * 1.875f);  // red, after the alpha-first move
  EXPECT_FLOAT_EQ(out[3], 1.0f * 1.875f);
  EXPECT_FLOAT_EQ(out[0], 1.0f);  // alpha capped
}

TEST(ReferencePreprocess, FlattensAndPresentsInTheRightOrder) {
  PreprocessUniforms u;
  const Rgba texel = {0.5f, 0.2f, -0.4f, 2.0f};  // alpha, red, green, blue
  EXPECT_EQ(PreprocessTexel(texel, u), (Rgba{0.1f, 0.2f, 1.0f, 1.0f}));
  u.presentViewL = 1;
  EXPECT_EQ(PreprocessTexel(texel, u), (Rgba{0.5f, 0.2f, 0.4f, 2.0f}));
}

}  // namespace
}  // namespace solvane::reference
