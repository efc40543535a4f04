// Which controls the interface shows and greys for given values: every rule, and that
// nothing else is touched.
#include <gtest/gtest.h>

#include <set>

#include "core/controls/ControlChoices.h"
#include "core/controls/UiRules.h"

namespace solvane {
namespace {

std::set<int32_t> Hidden(const UiState& ui) {
  std::set<int32_t> hidden;
  for (int32_t i = 0; i < kParamCount; ++i) {
    if (ui[i].hidden) hidden.insert(i);
  }
  return hidden;
}

std::set<int32_t> Disabled(const UiState& ui) {
  std::set<int32_t> disabled;
  for (int32_t i = 0; i < kParamCount; ++i) {
    if (ui[i].disabled) disabled.insert(i);
  }
  return disabled;
}

TEST(UiRules, ModeShowsEitherTheSpinAngleOrTheZoomLengthAndDirection) {
  const UiState zoom = UiRules(kModeZoom, 1, kViewFinalComposite);
  EXPECT_EQ(Hidden(zoom), (std::set<int32_t>{kParamSpinAmount, kParamSamples, kParamNoise,
                                             kParamDebugGroup}));
  const UiState spin = UiRules(kModeSpin, 1, kViewFinalComposite);
  EXPECT_EQ(Hidden(spin), (std::set<int32_t>{kParamLength, kParamDirection, kParamSamples,
                                             kParamNoise, kParamDebugGroup}));
}

TEST(UiRules, OnlyCustomQualityShowsSamplesAndNoise) {
  for (int32_t quality = 1; quality <= 6; ++quality) {
    const UiState ui = UiRules(kModeZoom, quality, kViewFinalComposite);
    const bool custom = quality == kQualityCustom;
    EXPECT_EQ(ui[kParamSamples].hidden, !custom) << quality;
    EXPECT_EQ(ui[kParamNoise].hidden, !custom) << quality;
  }
}

TEST(UiRules, TheCompositingControlsAreGreyedOutsideTheFinalComposite) {
  const std::set<int32_t> compositing{kParamInputOpacity, kParamBlendMode, kParamUnmult};
  EXPECT_TRUE(Disabled(UiRules(kModeZoom, 2, kViewFinalComposite)).empty());
  EXPECT_EQ(Disabled(UiRules(kModeZoom, 2, kViewInput)), compositing);
  EXPECT_EQ(Disabled(UiRules(kModeSpin, 6, kViewRaysSolo)), compositing);
}

TEST(UiRules, TheDebugGroupIsHiddenWhateverTheValues) {
  for (const int32_t mode : {0, int32_t(kModeSpin), int32_t(kModeZoom)}) {
    EXPECT_TRUE(UiRules(mode, 0, 0)[kParamDebugGroup].hidden);
  }
}

}  // namespace
}  // namespace solvane
