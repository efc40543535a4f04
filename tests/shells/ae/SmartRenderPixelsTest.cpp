// Whole frames through the stand-in host and the real module on the GPU, compared with
// the CPU reference of both passes, the placement and the host composite.
#include <gtest/gtest.h>

#include "FrameTestSupport.h"

namespace solvane::frametest {
namespace {

constexpr int kWidth = 20, kHeight = 12;

class SmartRenderPixels : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = MakeEffectHost(kWidth, kHeight);
    ASSERT_NE(host_, nullptr);
  }

  // Renders the controls at `depth` and returns the largest difference from the reference.
  float RenderAndCompare(const Controls& c, int depth, int rowPadding = 0) {
    ApplyControls(*host_, c);
    const host::World input = Pattern(kWidth, kHeight, depth, rowPadding);
    host::FrameRequest request;
    request.depth = depth;
    request.outputRowPadding = rowPadding;
    result_ = host::RenderFrameThroughModule(*host_, input, request);
    EXPECT_EQ(result_.err, PF_Err_NONE);
    const int grow = int(c.bufferExpansion);
    const auto expected = reference::RenderFrameReference(
        SpecFor(c, input, kWidth + 2 * grow, kHeight + 2 * grow, grow, grow, depth));
    return MaxRelativeDifference(result_.output, expected);
  }

  float Tolerance(int depth) const { return depth == 8 ? kByteTolerance : kFloatTolerance; }

  std::unique_ptr<host::Host> host_;
  host::FrameResult result_;
};

TEST_F(SmartRenderPixels, EachViewAtBothDepths) {
  for (int depth : {8, 32}) {
    for (int view : {1, 2, 3}) {
      Controls c;
      c.view = view;
      c.threshold = 30;
      c.thresholdSmooth = 10;
      EXPECT_LE(RenderAndCompare(c, depth), Tolerance(depth)) << "view " << view << " depth " << depth;
      EXPECT_EQ(result_.transfers.size(), view == 3 ? 1u : 0u) << "view " << view;
    }
  }
}

TEST_F(SmartRenderPixels, ScreenAndAddAtSeveralOpacities) {
  for (int blend : {1, 2}) {
    for (double opacity : {100.0, 50.0, 0.0}) {
      Controls c;
      c.blendMode = blend;
      c.inputOpacity = opacity;
      for (int depth : {8, 32}) {
        EXPECT_LE(RenderAndCompare(c, depth), Tolerance(depth))
            << "blend " << blend << " opacity " << opacity << " depth " << depth;
        ASSERT_EQ(result_.transfers.size(), 1u);
        EXPECT_EQ(result_.transfers[0].mode.xfer, blend == 2 ? PF_Xfer_ADD : PF_Xfer_SCREEN);
        EXPECT_EQ(result_.transfers[0].mode.opacity, int(opacity * 2.55));
      }
    }
  }
}

TEST_F(SmartRenderPixels, RepeatEdgesMirrorsAndOffReadsTransparentBlack) {
  for (bool repeat : {true, false}) {
    Controls c;
    c.repeatEdges = repeat;
    c.view = 2;
    c.direction = 2;  // inward rays sample beyond the layer's edges
    c.positionX = 2;
    EXPECT_LE(RenderAndCompare(c, 32), kFloatTolerance) << "repeat " << repeat;
  }
}

TEST_F(SmartRenderPixels, SpinZoomDirectionsAberrationAndUnmult) {
  Controls spin;
  spin.mode = 1;
  spin.spinAmount = 45;
  spin.decay = 1.5;
  EXPECT_LE(RenderAndCompare(spin, 32), kFloatTolerance) << "spin";
  for (int channels : {1, 2, 3}) {
    Controls ca;
    ca.aberrationAmount = channels == 2 ? -60 : 40;
    ca.channels = channels;
    ca.direction = 3;
    ca.unmult = channels != 3;
    EXPECT_LE(RenderAndCompare(ca, 32), kFloatTolerance) << "zoom channels " << channels;
    ca.mode = 1;
    EXPECT_LE(RenderAndCompare(ca, 32), kFloatTolerance) << "spin channels " << channels;
  }
}

TEST_F(SmartRenderPixels, PaddedRowsKeepTheirPaddingAndNegativeFloatsSurvive) {
  Controls c;
  c.view = 1;
  host::World input = Pattern(kWidth, kHeight, 32, 48);
  input.SetValue(5, 5, {1.0f, -0.5f, 0.25f, 0.5f});
  ApplyControls(*host_, c);
  host::FrameRequest request;
  request.depth = 32;
  request.outputRowPadding = 32;
  result_ = host::RenderFrameThroughModule(*host_, input, request);
  ASSERT_EQ(result_.err, PF_Err_NONE);
  EXPECT_TRUE(result_.output.PaddingIntact());
  // The processed view takes absolute values and is not composited.
  EXPECT_NEAR(result_.output.Value(5, 5).red, 0.5f, 1e-5f);
  const auto expected =
      reference::RenderFrameReference(SpecFor(c, input, kWidth, kHeight, 0, 0, 32));
  EXPECT_LE(MaxRelativeDifference(result_.output, expected), kFloatTolerance);
  // Padding that keeps rows a whole number of pixels apart, as GL's row length needs.
  for (int depth : {8, 32}) {
    EXPECT_LE(RenderAndCompare(Controls{}, depth, depth == 8 ? 20 : 48), Tolerance(depth))
        << depth;
    EXPECT_TRUE(result_.output.PaddingIntact());
  }
}

TEST_F(SmartRenderPixels, FirstRowStaysFirst) {
  Controls c;
  c.view = 1;
  ApplyControls(*host_, c);
  host::World input(kWidth, kHeight, 32);
  for (int x = 0; x < kWidth; ++x) input.SetValue(x, 0, {1, 1, 0, 0});
  host::FrameRequest request;
  request.depth = 32;
  result_ = host::RenderFrameThroughModule(*host_, input, request);
  ASSERT_EQ(result_.err, PF_Err_NONE);
  EXPECT_FLOAT_EQ(result_.output.Value(4, 0).red, 1.0f);
  EXPECT_FLOAT_EQ(result_.output.Value(4, kHeight - 1).red, 0.0f);
}

TEST_F(SmartRenderPixels, ExpansionGrowsTheFrameAndKeepsTheRayCentreOnPosition) {
  Controls c;
  c.bufferExpansion = 6;
  c.view = 2;
  for (int depth : {8, 32}) {
    EXPECT_LE(RenderAndCompare(c, depth), Tolerance(depth)) << depth;
    EXPECT_EQ(result_.output.Width(), kWidth + 12);
    EXPECT_EQ(result_.output.Height(), kHeight + 12);
  }
  // A point at the ray centre reads itself at every step: centred rays stay put, so the
  // brightest output pixel of a single-spot input is the spot itself.
  host::World spot(kWidth, kHeight, 32);
  spot.SetValue(10, 6, {1, 1, 1, 1});
  ApplyControls(*host_, c);
  host::FrameRequest request;
  request.depth = 32;
  result_ = host::RenderFrameThroughModule(*host_, spot, request);
  ASSERT_EQ(result_.err, PF_Err_NONE);
  EXPECT_GT(result_.output.Value(16, 12).alpha, 0.99f);
}

TEST_F(SmartRenderPixels, AdjustmentLayerReturnsTheRequestAndIsNotOffset) {
  host_->Layer().kind = host::LayerKind::kAdjustment;
  Controls c;
  c.bufferExpansion = 6;
  ApplyControls(*host_, c);
  const host::World input = Pattern(kWidth, kHeight, 32);
  host::FrameRequest request;
  request.depth = 32;
  result_ = host::RenderFrameThroughModule(*host_, input, request);
  ASSERT_EQ(result_.err, PF_Err_NONE);
  ASSERT_EQ(result_.output.Width(), kWidth);
  Controls unexpanded = c;
  unexpanded.bufferExpansion = 0;
  const auto expected =
      reference::RenderFrameReference(SpecFor(unexpanded, input, kWidth, kHeight, 0, 0, 32));
  EXPECT_LE(MaxRelativeDifference(result_.output, expected), kFloatTolerance);
}

}  // namespace
}  // namespace solvane::frametest
