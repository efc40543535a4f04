// SMART_PRE_RENDER through the stand-in host: the whole-layer request, the expansion at
// each resolution, adjustment and transparent layers, and a failing host call at each step.
#include <gtest/gtest.h>

#include <string>

#include "AE_GeneralPlug.h"
#include "host/Host.h"
#include "core/controls/ControlTable.h"
#include "shells/ae/Rects.h"

namespace {

using solvane::kParamBufferExpansion;
using solvane::host::Host;
using solvane::host::LayerKind;

void ExpectRect(const PF_LRect& r, A_long left, A_long top, A_long right, A_long bottom) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}

class PreRender : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.Layer().width = 1920;
    host_.Layer().height = 1080;
    ASSERT_EQ(host_.ParamsSetup(), PF_Err_NONE);
    input_.output_request.rect = {0, 0, 1920, 1080};
    input_.output_request.field = PF_Field_UPPER;
    input_.output_request.channel_mask = 0xF;
    input_.output_request.preserve_rgb_of_zero_alpha = 1;
    input_.output_request.reserved[2] = 77;
  }
  void TearDown() override {
    EXPECT_EQ(host_.Checkouts().Outstanding(), 0);
    EXPECT_TRUE(host_.Suites().Unbalanced().empty());
  }
  void Expansion(double value) { host_.Params().Set(kParamBufferExpansion, {value, 0}); }
  void Downsample(A_u_long x, A_u_long y) {
    host_.Layer().downsampleX = {1, x};
    host_.Layer().downsampleY = {1, y};
  }
  PF_Err Run() { return host_.PreRender(input_, output_); }

  Host host_{SOLVANE_MODULE_PATH};
  PF_PreRenderInput input_{};
  PF_PreRenderOutput output_{};
};

TEST_F(PreRender, NoExpansionReturnsTheLayerBounds) {
  ASSERT_EQ(Run(), PF_Err_NONE);
  ExpectRect(output_.result_rect, 0, 0, 1920, 1080);
  ExpectRect(output_.max_result_rect, 0, 0, 1920, 1080);
  EXPECT_EQ(output_.flags, PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS);
  EXPECT_EQ(output_.pre_render_data, nullptr);
  const auto checkouts = host_.LayerCheckouts().All();
  ASSERT_EQ(checkouts.size(), 1u);
  EXPECT_EQ(checkouts[0].index, 0);
  EXPECT_EQ(checkouts[0].checkoutId, 0);
}

TEST_F(PreRender, ExpansionIsScaledByTheHorizontalFactorAndTruncated) {
  const struct {
    double value;
    A_u_long x, y;
    A_long e, width, height;
  } cases[] = {{100, 2, 2, 50, 960, 540},
               {100, 3, 3, 33, 640, 360},
               {0.9, 1, 1, 0, 1920, 1080},
               {100, 2, 4, 50, 960, 270},
               {600, 1, 1, 600, 1920, 1080}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.value) + " at 1/" + std::to_string(c.x) + " by 1/" +
                 std::to_string(c.y));
    Expansion(c.value);
    Downsample(c.x, c.y);
    input_.output_request.rect = {0, 0, c.width, c.height};
    output_ = {};
    ASSERT_EQ(Run(), PF_Err_NONE);
    ExpectRect(output_.result_rect, -c.e, -c.e, c.width + c.e, c.height + c.e);
    ExpectRect(output_.max_result_rect, -c.e, -c.e, c.width + c.e, c.height + c.e);
  }
}

TEST_F(PreRender, AnOrdinaryLayerAsksForTheWholeLayerWhateverTheHostRequested) {
  input_.output_request.rect = {0, 0, 100, 80};
  Expansion(10);
  ASSERT_EQ(Run(), PF_Err_NONE);
  ExpectRect(input_.output_request.rect, 0, 0, 1920, 1080);
  const PF_RenderRequest asked = host_.LayerCheckouts().All().at(0).request;
  ExpectRect(asked.rect, 0, 0, 1920, 1080);
  EXPECT_EQ(asked.field, PF_Field_UPPER);
  EXPECT_EQ(asked.channel_mask, 0xF);
  EXPECT_EQ(asked.preserve_rgb_of_zero_alpha, 1);
  EXPECT_EQ(asked.reserved[2], 77);
  ExpectRect(output_.result_rect, -10, -10, 1930, 1090);
}

TEST_F(PreRender, AnAdjustmentLayerReturnsTheRequestButReportsTheGrownMaximum) {
  host_.Layer().kind = LayerKind::kAdjustment;
  input_.output_request.rect = {100, 50, 400, 300};
  Expansion(20);
  ASSERT_EQ(Run(), PF_Err_NONE);
  ExpectRect(input_.output_request.rect, 100, 50, 400, 300);
  ExpectRect(host_.LayerCheckouts().All().at(0).request.rect, 100, 50, 400, 300);
  ExpectRect(output_.result_rect, 100, 50, 400, 300);
  ExpectRect(output_.max_result_rect, -20, -20, 1940, 1100);
  EXPECT_EQ(output_.flags, PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS);
}

TEST_F(PreRender, AFullyTransparentLayerLeavesTheResultAsTheHostSetIt) {
  host_.Layer().fullyTransparent = true;
  Expansion(10);
  output_.result_rect = {3, 4, 5, 6};
  output_.flags = 0;
  ASSERT_EQ(Run(), PF_Err_NONE);
  ExpectRect(output_.result_rect, 3, 4, 5, 6);
  EXPECT_EQ(output_.flags, 0);
  ExpectRect(output_.max_result_rect, 0, 0, 1920, 1080);  // not grown
}

TEST_F(PreRender, WhatTheHostAlreadyReportedIsMergedNotReplaced) {
  output_.result_rect = {-500, 0, 10, 10};
  output_.max_result_rect = {0, -300, 10, 10};
  ASSERT_EQ(Run(), PF_Err_NONE);
  ExpectRect(output_.result_rect, -500, 0, 1920, 1080);
  ExpectRect(output_.max_result_rect, 0, -300, 1920, 1080);
}

TEST_F(PreRender, AFailingHostCallStopsTheHandlerWithItsError) {
  const char* steps[] = {"AEGP_GetEffectLayer", "AEGP_GetLayerFlags", "checkout_layer",
                         "checkout_param", "checkin_param"};
  for (size_t failing = 0; failing < std::size(steps); ++failing) {
    SCOPED_TRACE(steps[failing]);
    Host host(SOLVANE_MODULE_PATH);
    host.Layer().width = 64;
    host.Layer().height = 64;
    ASSERT_EQ(host.ParamsSetup(), PF_Err_NONE);
    host.Log().Clear();
    host.Faults().Fail(steps[failing], 1, A_Err_GENERIC + 40);
    PF_PreRenderInput input{};
    PF_PreRenderOutput output{};
    EXPECT_EQ(host.PreRender(input, output), A_Err_GENERIC + 40);
    for (size_t later = failing + 1; later < std::size(steps); ++later) {
      EXPECT_EQ(host.Log().Count(steps[later]), 0u) << steps[later];
    }
    EXPECT_EQ(output.flags, 0);
  }
}

TEST_F(PreRender, AMissingLayerSuiteIsReturnedAsBadCallback) {
  host_.Suites().Withhold(kAEGPLayerSuite, kAEGPLayerSuiteVersion7);
  EXPECT_EQ(Run(), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_TRUE(host_.LayerCheckouts().All().empty());
}

TEST(Rects, MergeIntoAnEmptyDestinationCopiesEvenAnEmptySource) {
  PF_LRect destination{5, 5, 5, 9};
  solvane::MergeRectInto({7, 7, 2, 2}, destination);
  ExpectRect(destination, 7, 7, 2, 2);
  PF_LRect kept{0, 0, 4, 4};
  solvane::MergeRectInto({9, 9, 9, 9}, kept);
  ExpectRect(kept, 0, 0, 4, 4);
  EXPECT_TRUE(solvane::RectIsEmpty({0, 0, 0, 10}));
  EXPECT_TRUE(solvane::RectIsEmpty({0, 3, 10, 2}));
  EXPECT_FALSE(solvane::RectIsEmpty({-1, -1, 0, 0}));
}

}  // namespace
