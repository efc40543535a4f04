// GatherRenderParams over the controls the module registers, checked out from the
// stand-in host: the worked examples of the derivation, the check-in rule on failure and
// the ray centre staying on "Position" when the buffer grows.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "host/CoreSuites.h"
#include "host/Host.h"
#include "render/RenderParams.h"

namespace {

using solvane::RenderParams;
using solvane::host::Host;

constexpr int kMode = 4, kPosition = 5, kThreshold = 8, kLength = 12, kDecay = 15, kDirection = 16,
              kAberration = 18, kQuality = 23, kSamples = 24, kNoise = 25, kExpansion = 27,
              kOpacity = 30, kView = 33;

class RenderParamsDerivation : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.Layer().width = 1920;
    host_.Layer().height = 1080;
    ASSERT_EQ(host_.ParamsSetup(), PF_Err_NONE);
  }
  void TearDown() override { EXPECT_EQ(host_.Checkouts().Outstanding(), 0); }

  void Set(int index, double a, double b = 0) { host_.Params().Set(index, {a, b}); }
  void Downsample(A_long den) {
    host_.Layer().downsampleX = {1, A_u_long(den)};
    host_.Layer().downsampleY = {1, A_u_long(den)};
  }

  // What the smart render does around the derivation: an output of the layer's size at
  // the current resolution, origin (0, 0), the expansion added on every side.
  PF_Err Gather(RenderParams& p, A_long grow = 0) {
    const solvane::host::LayerState& layer = host_.Layer();
    PF_InData in{};
    in.inter = solvane::host::InteractCallbacks();
    in.effect_ref = reinterpret_cast<PF_ProgPtr>(&host_);
    in.current_time = layer.currentTime;
    in.time_step = layer.timeStep;
    in.time_scale = layer.timeScale;
    in.downsample_x = layer.downsampleX;
    in.downsample_y = layer.downsampleY;
    PF_EffectWorld output{};
    output.width = layer.CurrentWidth() + 2 * grow;
    output.height = layer.CurrentHeight() + 2 * grow;
    return solvane::GatherRenderParams(p, &in, &output);
  }

  Host host_{SOLVANE_MODULE_PATH};
};

TEST_F(RenderParamsDerivation, DefaultControlsOnAFullResolutionFrame) {
  RenderParams p;
  ASSERT_EQ(Gather(p), PF_Err_NONE);
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
  EXPECT_EQ(p.mode, 2);
  EXPECT_EQ(p.forward, 1);
  EXPECT_EQ(p.backward, 0);
  EXPECT_EQ(p.channels, 1);
  EXPECT_EQ(p.unmult, 1);
  EXPECT_EQ(p.repeatEdges, 1);
  EXPECT_EQ(p.threshold, 0.0);
  EXPECT_DOUBLE_EQ(p.thresholdSmooth, 0.5);
  EXPECT_EQ(p.thresholdMode, 1);
  EXPECT_EQ(p.view, 3);
  EXPECT_EQ(p.quality, 2);
  EXPECT_EQ(p.blendMode, 1);
  EXPECT_EQ(p.inputOpacity, 100 * 2.55);
  EXPECT_LT(p.inputOpacity, 255.0);  // truncates to 254 in the composite
  EXPECT_EQ(p.offsetX, 0);
  EXPECT_EQ(p.isAdjustmentLike, 0);
}

TEST_F(RenderParamsDerivation, EveryControlIsCheckedOutAtTheCurrentTime) {
  host_.Layer().currentTime = 50;
  RenderParams p;
  ASSERT_EQ(Gather(p), PF_Err_NONE);
  const auto history = host_.Checkouts().History();
  ASSERT_EQ(history.size(), 40u);
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(history[size_t(i)].index, i + 1);
    EXPECT_EQ(history[size_t(i)].time, 50);
    EXPECT_EQ(history[size_t(i)].timeScale, 25u);
  }
}

TEST_F(RenderParamsDerivation, ZoomSampleCountsFollowQualityAndResolution) {
  RenderParams draft;
  Set(kQuality, 1);
  ASSERT_EQ(Gather(draft), PF_Err_NONE);
  EXPECT_EQ(draft.samples, 115);
  const int expected[] = {115, 230, 345, 460};
  for (int q = 1; q <= 4; ++q) {
    RenderParams p;
    Set(kQuality, q);
    ASSERT_EQ(Gather(p), PF_Err_NONE);
    EXPECT_EQ(p.samples, expected[q - 1]) << q;
  }
  RenderParams half;
  Set(kQuality, 1);
  Downsample(2);
  ASSERT_EQ(Gather(half), PF_Err_NONE);
  EXPECT_EQ(half.downsampleScale, 0.5);
  EXPECT_EQ(half.samples, 65);
  EXPECT_DOUBLE_EQ(half.density, 1000.0 / 960.0);
}

TEST_F(RenderParamsDerivation, SpinUsesTheAngleAndFixedSampleCounts) {
  Set(kMode, 1);
  Set(kQuality, 4);
  Set(kDirection, 3);
  RenderParams p;
  ASSERT_EQ(Gather(p), PF_Err_NONE);
  EXPECT_EQ(p.samples, 1200);
  EXPECT_EQ(p.jitter, 0.25);
  EXPECT_EQ(p.density, 30.0);
  EXPECT_EQ(p.forward, 0);
  EXPECT_EQ(p.backward, 0);
  EXPECT_EQ(p.decay, 0.5);  // (1 x 2 - 1) x 0.5
  RenderParams faint;
  Set(kDecay, 0.25);
  ASSERT_EQ(Gather(faint), PF_Err_NONE);
  EXPECT_EQ(faint.decay, 0.0);
}

TEST_F(RenderParamsDerivation, CustomQualityTruncatesSamplesAndScalesNoise) {
  for (int mode : {1, 2}) {
    Set(kMode, mode);
    Set(kQuality, 6);
    Set(kSamples, 64.9);
    Set(kNoise, 250);
    RenderParams p;
    ASSERT_EQ(Gather(p), PF_Err_NONE);
    EXPECT_EQ(p.samples, 64) << mode;
    EXPECT_DOUBLE_EQ(p.jitter, 2.5) << mode;
  }
}

TEST_F(RenderParamsDerivation, ZoomDirectionSetsForwardAndBackward) {
  const struct { int direction, forward, backward; } cases[] = {{1, 1, 0}, {2, 0, 1}, {3, 1, 1}};
  for (const auto& c : cases) {
    Set(kDirection, c.direction);
    RenderParams p;
    ASSERT_EQ(Gather(p), PF_Err_NONE);
    EXPECT_EQ(p.forward, c.forward) << c.direction;
    EXPECT_EQ(p.backward, c.backward) << c.direction;
  }
}

TEST_F(RenderParamsDerivation, ScaledCopies) {
  Set(kThreshold, 500);
  Set(kAberration, -150);
  Set(kOpacity, 50);
  Set(kView, 2);
  Set(kLength, 8000);
  RenderParams p;
  ASSERT_EQ(Gather(p), PF_Err_NONE);
  EXPECT_DOUBLE_EQ(p.threshold, 5.0);
  EXPECT_DOUBLE_EQ(p.chromaticAberration, -1.5);
  EXPECT_DOUBLE_EQ(p.inputOpacity, 127.5);
  EXPECT_EQ(p.view, 2);
  EXPECT_DOUBLE_EQ(p.density, 8000.0 / 1920.0);
}

TEST_F(RenderParamsDerivation, ExpansionMovesAnOrdinaryLayersPlacementAndRayCentre) {
  Set(kExpansion, 40);
  Set(kPosition, 480, 270);
  RenderParams ordinary;
  ASSERT_EQ(Gather(ordinary, 40), PF_Err_NONE);
  EXPECT_EQ(ordinary.expansion, 40);
  EXPECT_EQ(ordinary.offsetX, 40);
  EXPECT_EQ(ordinary.offsetY, 40);
  // The centre stays on the chosen layer point: (480 + 40) of 2000, (270 + 40) of 1160.
  EXPECT_DOUBLE_EQ(ordinary.posX, 520.0 / 2000.0);
  EXPECT_DOUBLE_EQ(ordinary.posY, 310.0 / 1160.0);

  RenderParams adjustment;
  adjustment.isAdjustmentLike = 1;
  ASSERT_EQ(Gather(adjustment), PF_Err_NONE);
  EXPECT_EQ(adjustment.expansion, 40);
  EXPECT_EQ(adjustment.offsetX, 0);
  EXPECT_EQ(adjustment.offsetY, 0);
  EXPECT_DOUBLE_EQ(adjustment.posX, 0.25);
  EXPECT_DOUBLE_EQ(adjustment.posY, 0.25);
}

TEST_F(RenderParamsDerivation, TheCallersOffsetsAndCentreAreAddedTo) {
  RenderParams p;
  p.offsetX = 7;
  p.offsetY = -3;
  p.posX = -20;  // the output's origin lies 20 pixels right of the layer's
  ASSERT_EQ(Gather(p), PF_Err_NONE);
  EXPECT_EQ(p.offsetX, 7);
  EXPECT_EQ(p.offsetY, -3);
  EXPECT_DOUBLE_EQ(p.posX, 940.0 / 1920.0);
}

TEST_F(RenderParamsDerivation, APointFollowsTheDownsampleFactor) {
  Downsample(2);
  RenderParams p;
  ASSERT_EQ(Gather(p), PF_Err_NONE);
  EXPECT_DOUBLE_EQ(p.posX, 0.5);
  EXPECT_DOUBLE_EQ(p.posY, 0.5);
}

TEST_F(RenderParamsDerivation, AFailedCheckoutStopsCheckoutsButEveryIndexIsCheckedIn) {
  host_.Faults().Fail("checkout_param", 5, PF_Err_OUT_OF_MEMORY);
  RenderParams p;
  EXPECT_EQ(Gather(p), PF_Err_OUT_OF_MEMORY);
  EXPECT_EQ(host_.Log().Count("checkout_param"), 5u);
  EXPECT_EQ(host_.Log().Count("checkin_param"), 40u);
  EXPECT_EQ(p.mode, 2);           // checked out before the failure
  EXPECT_EQ(p.thresholdMode, 0);  // never checked out
}

TEST_F(RenderParamsDerivation, TheFirstErrorWinsAndACheckinErrorIsReported) {
  host_.Faults().Fail("checkin_param", 3, PF_Err_INTERNAL_STRUCT_DAMAGED);
  host_.Faults().Fail("checkout_param", 10, PF_Err_OUT_OF_MEMORY);
  RenderParams p;
  EXPECT_EQ(Gather(p), PF_Err_INTERNAL_STRUCT_DAMAGED);
  EXPECT_EQ(host_.Log().Count("checkout_param"), 3u);
  EXPECT_EQ(host_.Log().Count("checkin_param"), 40u);
  host_.Checkouts().Clear();  // the failed check-in leaves index 3 with the host
}

TEST(RenderParamsArithmetic, DownsampleIsDividedInSinglePrecision) {
  EXPECT_EQ(solvane::DownsampleScale({1, 3}), double(1.0f / 3.0f));
  EXPECT_NE(solvane::DownsampleScale({1, 3}), 1.0 / 3.0);
  EXPECT_EQ(solvane::TruncateToInt32(100 * solvane::DownsampleScale({1, 3})), 33);
}

TEST(RenderParamsArithmetic, TruncationSaturatesInsteadOfOverflowing) {
  EXPECT_EQ(solvane::TruncateToInt32(-0.9), 0);
  EXPECT_EQ(solvane::TruncateToInt32(1e12), INT32_MAX);
  EXPECT_EQ(solvane::TruncateToInt32(-1e12), INT32_MIN);
  EXPECT_EQ(solvane::TruncateToInt32(std::nan("")), 0);
}

}  // namespace
