// DeriveRenderParams from plain control values and frame geometry, with no host: the
// worked examples of the derivation, the sample counts per quality, and the ray centre
// staying on "Position" when the buffer grows.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "core/controls/ControlChoices.h"
#include "core/controls/ControlValues.h"
#include "core/render/RenderParams.h"

namespace solvane {
namespace {

constexpr int32_t kWidth = 1920, kHeight = 1080;

// A layer of kWidth x kHeight at 1/den, the output of the layer's size grown by `grow` on
// every side, origin (0, 0) for input and output.
FrameGeometry Frame(int32_t grow = 0, int32_t den = 1) {
  FrameGeometry frame;
  frame.downsampleScale = double(1.0f / float(den));
  frame.outputWidth = (kWidth + den - 1) / den + 2 * grow;
  frame.outputHeight = (kHeight + den - 1) / den + 2 * grow;
  return frame;
}

ControlValues Defaults(int32_t den = 1) {
  return DefaultControlValues((kWidth + den - 1) / den, (kHeight + den - 1) / den);
}

TEST(RenderParamsDerivation, DefaultControlsOnAFullResolutionFrame) {
  const RenderParams p = DeriveRenderParams(Defaults(), Frame());
  EXPECT_EQ(p.downsampleScale, 1.0);
  EXPECT_EQ(p.expansion, 0);
  EXPECT_DOUBLE_EQ(p.posX, 0.5);
  EXPECT_DOUBLE_EQ(p.posY, 0.5);
  EXPECT_EQ(p.decay, 2.0);
  EXPECT_DOUBLE_EQ(p.density, 2000.0 / 1920.0);
  EXPECT_EQ(p.exposure, 5.0);
  EXPECT_EQ(p.chromaticAberration, 0.0);
  EXPECT_DOUBLE_EQ(p.aspect, 1080.0 / 1920.0);
  EXPECT_EQ(p.samples, 230);
  EXPECT_EQ(p.jitter, 1.0);
  EXPECT_EQ(p.mode, kModeZoom);
  EXPECT_EQ(p.forward, 1);
  EXPECT_EQ(p.backward, 0);
  EXPECT_EQ(p.channels, 1);
  EXPECT_EQ(p.unmult, 1);
  EXPECT_EQ(p.repeatEdges, 1);
  EXPECT_EQ(p.threshold, 0.0);
  EXPECT_DOUBLE_EQ(p.thresholdSmooth, 0.5);
  EXPECT_EQ(p.thresholdMode, 1);
  EXPECT_EQ(p.view, kViewFinalComposite);
  EXPECT_EQ(p.quality, 2);
  EXPECT_EQ(p.blendMode, kBlendScreen);
  EXPECT_EQ(p.inputOpacity, 100 * 2.55);
  EXPECT_LT(p.inputOpacity, 255.0);  // truncates to 254 in the composite
  EXPECT_EQ(p.offsetX, 0);
  EXPECT_EQ(p.isAdjustmentLike, 0);
}

TEST(RenderParamsDerivation, ZoomSampleCountsFollowQualityAndResolution) {
  const int expected[] = {115, 230, 345, 460};
  ControlValues c = Defaults();
  for (int q = 1; q <= 4; ++q) {
    c.quality = q;
    EXPECT_EQ(DeriveRenderParams(c, Frame()).samples, expected[q - 1]) << q;
  }
  ControlValues half = Defaults(2);
  half.quality = 1;
  const RenderParams p = DeriveRenderParams(half, Frame(0, 2));
  EXPECT_EQ(p.downsampleScale, 0.5);
  EXPECT_EQ(p.samples, 65);
  EXPECT_DOUBLE_EQ(p.density, 1000.0 / 960.0);
  EXPECT_DOUBLE_EQ(p.posX, 0.5);
  EXPECT_DOUBLE_EQ(p.posY, 0.5);
}

TEST(RenderParamsDerivation, SpinUsesTheAngleAndFixedSampleCounts) {
  ControlValues c = Defaults();
  c.mode = kModeSpin;
  c.quality = 4;
  c.direction = kDirectionInOut;
  const RenderParams p = DeriveRenderParams(c, Frame());
  EXPECT_EQ(p.samples, 1200);
  EXPECT_EQ(p.jitter, 0.25);
  EXPECT_EQ(p.density, 30.0);
  EXPECT_EQ(p.forward, 0);
  EXPECT_EQ(p.backward, 0);
  EXPECT_EQ(p.decay, 0.5);  // (1 x 2 - 1) x 0.5
  c.decay = 0.25;
  EXPECT_EQ(DeriveRenderParams(c, Frame()).decay, 0.0);
}

TEST(RenderParamsDerivation, CustomQualityTruncatesSamplesAndScalesNoise) {
  for (int32_t mode : {kModeSpin, kModeZoom}) {
    ControlValues c = Defaults();
    c.mode = mode;
    c.quality = kQualityCustom;
    c.samples = 64.9;
    c.noise = 250;
    const RenderParams p = DeriveRenderParams(c, Frame());
    EXPECT_EQ(p.samples, 64) << mode;
    EXPECT_DOUBLE_EQ(p.jitter, 2.5) << mode;
  }
}

TEST(RenderParamsDerivation, ZoomDirectionSetsForwardAndBackward) {
  const struct {
    int32_t direction, forward, backward;
  } cases[] = {{kDirectionOut, 1, 0}, {kDirectionIn, 0, 1}, {kDirectionInOut, 1, 1}};
  for (const auto& k : cases) {
    ControlValues c = Defaults();
    c.direction = k.direction;
    const RenderParams p = DeriveRenderParams(c, Frame());
    EXPECT_EQ(p.forward, k.forward) << k.direction;
    EXPECT_EQ(p.backward, k.backward) << k.direction;
  }
}

TEST(RenderParamsDerivation, ScaledCopies) {
  ControlValues c = Defaults();
  c.threshold = 500;
  c.aberrationAmount = -150;
  c.inputOpacity = 50;
  c.view = kViewRaysSolo;
  c.length = 8000;
  c.repeatEdges = false;
  c.unmult = false;
  const RenderParams p = DeriveRenderParams(c, Frame());
  EXPECT_DOUBLE_EQ(p.threshold, 5.0);
  EXPECT_DOUBLE_EQ(p.chromaticAberration, -1.5);
  EXPECT_DOUBLE_EQ(p.inputOpacity, 127.5);
  EXPECT_EQ(p.view, kViewRaysSolo);
  EXPECT_DOUBLE_EQ(p.density, 8000.0 / 1920.0);
  EXPECT_EQ(p.repeatEdges, 0);
  EXPECT_EQ(p.unmult, 0);
}

TEST(RenderParamsDerivation, ExpansionMovesAnOrdinaryLayersPlacementAndRayCentre) {
  ControlValues c = Defaults();
  c.bufferExpansion = 40;
  c.positionX = 480;
  c.positionY = 270;
  const RenderParams ordinary = DeriveRenderParams(c, Frame(40));
  EXPECT_EQ(ordinary.expansion, 40);
  EXPECT_EQ(ordinary.offsetX, 40);
  EXPECT_EQ(ordinary.offsetY, 40);
  // The centre stays on the chosen layer point: (480 + 40) of 2000, (270 + 40) of 1160.
  EXPECT_DOUBLE_EQ(ordinary.posX, 520.0 / 2000.0);
  EXPECT_DOUBLE_EQ(ordinary.posY, 310.0 / 1160.0);

  FrameGeometry adjustmentFrame = Frame();
  adjustmentFrame.adjustmentLike = true;
  const RenderParams adjustment = DeriveRenderParams(c, adjustmentFrame);
  EXPECT_EQ(adjustment.isAdjustmentLike, 1);
  EXPECT_EQ(adjustment.expansion, 40);
  EXPECT_EQ(adjustment.offsetX, 0);
  EXPECT_EQ(adjustment.offsetY, 0);
  EXPECT_DOUBLE_EQ(adjustment.posX, 0.25);
  EXPECT_DOUBLE_EQ(adjustment.posY, 0.25);
}

TEST(RenderParamsDerivation, TheInputOffsetAndOutputOriginPlaceTheFrame) {
  FrameGeometry frame = Frame();
  frame.inputOffsetX = 7;
  frame.inputOffsetY = -3;
  frame.outputOriginX = 20;  // the output's origin lies 20 pixels right of the layer's
  frame.outputOriginY = -10;
  const RenderParams p = DeriveRenderParams(Defaults(), frame);
  EXPECT_EQ(p.offsetX, 7);
  EXPECT_EQ(p.offsetY, -3);
  EXPECT_DOUBLE_EQ(p.posX, 940.0 / 1920.0);
  EXPECT_DOUBLE_EQ(p.posY, 550.0 / 1080.0);
}

TEST(RenderParamsDerivation, AnEmptyOutputDividesByOnePixel) {
  FrameGeometry frame = Frame();
  frame.outputWidth = 0;
  frame.outputHeight = 0;
  const RenderParams p = DeriveRenderParams(Defaults(), frame);
  EXPECT_DOUBLE_EQ(p.posX, 960.0);
  EXPECT_DOUBLE_EQ(p.density, 2000.0);
  EXPECT_DOUBLE_EQ(p.posY, 540.0);
}

TEST(RenderParamsArithmetic, ExpansionIsTruncatedAtTheCurrentResolution) {
  EXPECT_EQ(BufferExpansionPixels(100, double(1.0f / 3.0f)), 33);
  EXPECT_EQ(BufferExpansionPixels(41, 0.5), 20);
  EXPECT_EQ(BufferExpansionPixels(1e12, 1), INT32_MAX);
}

TEST(RenderParamsArithmetic, TruncationSaturatesInsteadOfOverflowing) {
  EXPECT_EQ(TruncateToInt32(-0.9), 0);
  EXPECT_EQ(TruncateToInt32(1e12), INT32_MAX);
  EXPECT_EQ(TruncateToInt32(-1e12), INT32_MIN);
  EXPECT_EQ(TruncateToInt32(std::nan("")), 0);
}

}  // namespace
}  // namespace solvane
