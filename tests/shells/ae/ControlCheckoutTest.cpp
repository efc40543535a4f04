// The After Effects side of the derivation: the controls checked out of the stand-in host
// into the control-values record, in the host's units, at the current time, with every
// control checked back in whatever fails.
#include <gtest/gtest.h>

#include "host/CoreSuites.h"
#include "host/Host.h"
#include "core/controls/ControlTable.h"
#include "shells/ae/ControlCheckout.h"

namespace solvane {
namespace {

using host::Host;

class ControlCheckout : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.Layer().width = 1920;
    host_.Layer().height = 1080;
    ASSERT_EQ(host_.ParamsSetup(), PF_Err_NONE);
  }
  void TearDown() override { EXPECT_EQ(host_.Checkouts().Outstanding(), 0); }

  void Set(PF_ParamIndex index, double a, double b = 0) { host_.Params().Set(index, {a, b}); }

  PF_InData InData() {
    const host::LayerState& layer = host_.Layer();
    PF_InData in{};
    in.inter = host::InteractCallbacks();
    in.effect_ref = reinterpret_cast<PF_ProgPtr>(&host_);
    in.current_time = layer.currentTime;
    in.time_step = layer.timeStep;
    in.time_scale = layer.timeScale;
    in.downsample_x = layer.downsampleX;
    in.downsample_y = layer.downsampleY;
    return in;
  }
  PF_Err CheckOut(ControlValues& controls) {
    PF_InData in = InData();
    return CheckOutControls(&in, controls);
  }

  Host host_{SOLVANE_MODULE_PATH};
};

TEST_F(ControlCheckout, FreshControlsAreTheTablesDefaults) {
  ControlValues checkedOut;
  ASSERT_EQ(CheckOut(checkedOut), PF_Err_NONE);
  const ControlValues defaults = DefaultControlValues(1920, 1080);
  EXPECT_EQ(checkedOut.mode, defaults.mode);
  EXPECT_EQ(checkedOut.positionX, defaults.positionX);
  EXPECT_EQ(checkedOut.positionY, defaults.positionY);
  EXPECT_EQ(checkedOut.thresholdMode, defaults.thresholdMode);
  EXPECT_EQ(checkedOut.threshold, defaults.threshold);
  EXPECT_EQ(checkedOut.thresholdSmooth, defaults.thresholdSmooth);
  EXPECT_EQ(checkedOut.length, defaults.length);
  EXPECT_EQ(checkedOut.spinAmount, defaults.spinAmount);
  EXPECT_EQ(checkedOut.exposure, defaults.exposure);
  EXPECT_EQ(checkedOut.decay, defaults.decay);
  EXPECT_EQ(checkedOut.direction, defaults.direction);
  EXPECT_EQ(checkedOut.aberrationAmount, defaults.aberrationAmount);
  EXPECT_EQ(checkedOut.channels, defaults.channels);
  EXPECT_EQ(checkedOut.quality, defaults.quality);
  EXPECT_EQ(checkedOut.samples, defaults.samples);
  EXPECT_EQ(checkedOut.noise, defaults.noise);
  EXPECT_EQ(checkedOut.repeatEdges, defaults.repeatEdges);
  EXPECT_EQ(checkedOut.bufferExpansion, defaults.bufferExpansion);
  EXPECT_EQ(checkedOut.inputOpacity, defaults.inputOpacity);
  EXPECT_EQ(checkedOut.blendMode, defaults.blendMode);
  EXPECT_EQ(checkedOut.unmult, defaults.unmult);
  EXPECT_EQ(checkedOut.view, defaults.view);
  EXPECT_EQ(checkedOut.debugLeft, defaults.debugLeft);
  EXPECT_EQ(checkedOut.debugBottom, defaults.debugBottom);
  EXPECT_EQ(defaults.positionX, 960.0);
  EXPECT_EQ(defaults.spinAmount, 30.0);
}

TEST_F(ControlCheckout, ValuesArriveInTheUnitsTheHostShows) {
  Set(kParamSpinAmount, 42.5);
  Set(kParamPosition, 480, 270);
  Set(kParamThreshold, 37.5);
  Set(kParamUnmult, 0);
  Set(kParamQuality, kQualityCustom);
  host_.Layer().downsampleX = {1, 2};
  host_.Layer().downsampleY = {1, 2};
  ControlValues c;
  ASSERT_EQ(CheckOut(c), PF_Err_NONE);
  EXPECT_DOUBLE_EQ(c.spinAmount, 42.5);
  EXPECT_DOUBLE_EQ(c.positionX, 240.0);  // the host scales points by the downsample factor
  EXPECT_DOUBLE_EQ(c.positionY, 135.0);
  EXPECT_DOUBLE_EQ(c.threshold, 37.5);
  EXPECT_FALSE(c.unmult);
  EXPECT_EQ(c.quality, kQualityCustom);
}

TEST_F(ControlCheckout, EveryControlIsCheckedOutAtTheCurrentTime) {
  host_.Layer().currentTime = 50;
  ControlValues c;
  ASSERT_EQ(CheckOut(c), PF_Err_NONE);
  const auto history = host_.Checkouts().History();
  ASSERT_EQ(history.size(), size_t(kControlCount));
  for (int i = 0; i < kControlCount; ++i) {
    EXPECT_EQ(history[size_t(i)].index, i + 1);
    EXPECT_EQ(history[size_t(i)].time, 50);
    EXPECT_EQ(history[size_t(i)].timeScale, 25u);
  }
}

TEST_F(ControlCheckout, AFailedCheckoutStopsCheckoutsButEveryIndexIsCheckedIn) {
  host_.Faults().Fail("checkout_param", kParamPosition, PF_Err_OUT_OF_MEMORY);
  ControlValues c;
  EXPECT_EQ(CheckOut(c), PF_Err_OUT_OF_MEMORY);
  EXPECT_EQ(host_.Log().Count("checkout_param"), size_t(kParamPosition));
  EXPECT_EQ(host_.Log().Count("checkin_param"), size_t(kControlCount));
  EXPECT_EQ(c.mode, kModeZoom);   // checked out before the failure
  EXPECT_EQ(c.thresholdMode, 0);  // never checked out
}

TEST_F(ControlCheckout, TheFirstErrorWinsAndACheckinErrorIsReported) {
  host_.Faults().Fail("checkin_param", 3, PF_Err_INTERNAL_STRUCT_DAMAGED);
  host_.Faults().Fail("checkout_param", 10, PF_Err_OUT_OF_MEMORY);
  ControlValues c;
  EXPECT_EQ(CheckOut(c), PF_Err_INTERNAL_STRUCT_DAMAGED);
  EXPECT_EQ(host_.Log().Count("checkout_param"), 3u);
  EXPECT_EQ(host_.Log().Count("checkin_param"), size_t(kControlCount));
  host_.Checkouts().Clear();  // the failed check-in leaves index 3 with the host
}

TEST_F(ControlCheckout, GatherDerivesFromWhatWasCheckedOutAndReturnsTheFirstError) {
  Set(kParamLength, 8000);
  FrameGeometry frame;
  frame.downsampleScale = 1;
  frame.outputWidth = 1920;
  frame.outputHeight = 1080;
  PF_InData in = InData();
  RenderParams p;
  ASSERT_EQ(GatherRenderParams(&in, frame, p), PF_Err_NONE);
  EXPECT_DOUBLE_EQ(p.density, 8000.0 / 1920.0);
  EXPECT_DOUBLE_EQ(p.posX, 0.5);

  host_.Faults().Fail("checkout_param", kParamLength, PF_Err_OUT_OF_MEMORY);
  RenderParams partial;
  EXPECT_EQ(GatherRenderParams(&in, frame, partial), PF_Err_OUT_OF_MEMORY);
  EXPECT_EQ(partial.mode, kModeZoom);  // checked out before the failure
  EXPECT_EQ(partial.density, 0.0);     // "Length" never was
}

TEST(DownsampleScale, IsDividedInSinglePrecision) {
  EXPECT_EQ(DownsampleScale({1, 3}), double(1.0f / 3.0f));
  EXPECT_NE(DownsampleScale({1, 3}), 1.0 / 3.0);
  EXPECT_EQ(BufferExpansionPixels(100, DownsampleScale({1, 3})), 33);
}

}  // namespace
}  // namespace solvane
