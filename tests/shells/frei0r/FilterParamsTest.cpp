// The filter's parameters: what hosts are told about them, and how frei0r values reach the
// effect's controls, including every value a host command line can produce.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include "shells/frei0r/FilterParams.h"
#include "shells/frei0r/Frei0rApi.h"

namespace solvane::frei0r {
namespace {

const FilterParam& Named(const std::string& name) {
  for (const FilterParam& p : FilterParams()) {
    if (p.name == name) return p;
  }
  throw std::runtime_error("no parameter " + name);
}

TEST(FilterParams, EveryFixedFrameControlOnceWithAUniqueNameAndExplanation) {
  std::set<std::string> names;
  std::set<ControlIndex> controls;
  for (const FilterParam& p : FilterParams()) {
    EXPECT_TRUE(names.insert(p.name).second) << p.name;
    EXPECT_FALSE(p.explanation.empty()) << p.name;
    controls.insert(p.control);
  }
  EXPECT_EQ(FilterParams().size(), 21u);
  EXPECT_EQ(controls.size(), 20u);  // the position is two parameters
  EXPECT_EQ(controls.count(kParamBufferExpansion), 0u);
  EXPECT_EQ(controls.count(kParamDebugLeft), 0u);
  EXPECT_EQ(Named("Mode").frei0rType, F0R_PARAM_STRING);
  EXPECT_EQ(Named("Unmult").frei0rType, F0R_PARAM_BOOL);
  EXPECT_EQ(Named("Length").frei0rType, F0R_PARAM_DOUBLE);
  EXPECT_EQ(Named("Spin Amount").control, kParamSpinAmount);
  EXPECT_EQ(Named("Aberration Amount").control, kParamAberrationAmount);
}

TEST(FilterParams, ExplanationsStateTheMappingFromTheTable) {
  EXPECT_NE(Named("Length").explanation.find("0 to 1 spans 0 to 2000; up to 5 reaches 10000"),
            std::string::npos)
      << Named("Length").explanation;
  EXPECT_NE(Named("Aberration Amount").explanation.find("down to -2 reaches -200"),
            std::string::npos);
  EXPECT_NE(Named("Quality").explanation.find("1: Draft, 2: Moderate, 3: High, 4: Extreme, "
                                              "6: Custom"),
            std::string::npos);
}

// The numbers the messages list are the numbers SetItem takes, the separator counted.
TEST(FilterParams, ListedItemNumbersSelectTheirItems) {
  for (const FilterParam& p : FilterParams()) {
    if (p.kind != ParamKind::kPopup) continue;
    const std::string list = ItemList(p);
    size_t start = 0;
    while (start < list.size()) {
      const size_t colon = list.find(": ", start);
      const size_t end = std::min(list.find(", ", colon), list.size());
      const std::string number = list.substr(start, colon - start);
      const std::string item = list.substr(colon + 2, end - colon - 2);
      FilterControls c = DefaultFilterControls();
      ASSERT_EQ(SetItem(c, p, number), SetResult::kApplied) << p.name << " " << number;
      EXPECT_EQ(ItemOf(c, p), item) << p.name << " " << number;
      start = end + 2;
    }
  }
}

TEST(FilterParams, DefaultsAreTheTableDefaultsAndReadBackAsFrei0rValues) {
  const FilterControls c = DefaultFilterControls();
  EXPECT_EQ(c.value[kParamMode], kModeZoom);
  EXPECT_EQ(c.value[kParamLength], 2000);
  EXPECT_EQ(c.value[kParamSpinAmount], 30);
  EXPECT_EQ(c.value[kParamUnmult], 1);
  EXPECT_EQ(c.value[kParamView], kViewFinalComposite);
  EXPECT_EQ(c.positionX, 0.5);
  EXPECT_DOUBLE_EQ(NumberOf(c, Named("Samples")), 0.25);
  EXPECT_EQ(ItemOf(c, Named("Quality")), "Moderate");
  EXPECT_EQ(ItemOf(c, Named("View")), "Final Composite");
}

TEST(FilterParams, SlidersScaleBySliderMaximumAndClampToTheValidRange) {
  FilterControls c = DefaultFilterControls();
  EXPECT_EQ(SetNumber(c, Named("Length"), 0.25), SetResult::kApplied);
  EXPECT_EQ(c.value[kParamLength], 500);
  EXPECT_EQ(SetNumber(c, Named("Length"), 4), SetResult::kApplied);  // beyond the slider
  EXPECT_EQ(c.value[kParamLength], 8000);
  EXPECT_EQ(SetNumber(c, Named("Length"), 1e300), SetResult::kClamped);
  EXPECT_EQ(c.value[kParamLength], 10000);
  EXPECT_EQ(SetNumber(c, Named("Length"), -std::numeric_limits<double>::infinity()),
            SetResult::kClamped);
  EXPECT_EQ(c.value[kParamLength], 0);
  EXPECT_EQ(SetNumber(c, Named("Aberration Amount"), -1.5), SetResult::kApplied);
  EXPECT_EQ(c.value[kParamAberrationAmount], -150);
  EXPECT_EQ(SetNumber(c, Named("Samples"), 0), SetResult::kClamped);
  EXPECT_EQ(c.value[kParamSamples], 1);
  EXPECT_DOUBLE_EQ(NumberOf(c, Named("Aberration Amount")), -1.5);
}

TEST(FilterParams, NaNKeepsThePreviousValueOfEveryNumericKind) {
  FilterControls c = DefaultFilterControls();
  SetNumber(c, Named("Exposure"), 0.5);
  SetNumber(c, Named("Position X"), 0.3);
  SetNumber(c, Named("Spin Amount"), 0.25);
  SetNumber(c, Named("Unmult"), 0);
  const FilterControls before = c;
  for (const char* name : {"Exposure", "Position X", "Spin Amount", "Unmult"}) {
    EXPECT_EQ(SetNumber(c, Named(name), std::nan("")), SetResult::kKept) << name;
  }
  EXPECT_EQ(c.value, before.value);
  EXPECT_EQ(c.positionX, 0.3);
}

TEST(FilterParams, AnglesPositionsAndCheckboxes) {
  FilterControls c = DefaultFilterControls();
  SetNumber(c, Named("Spin Amount"), 0.125);
  EXPECT_EQ(c.value[kParamSpinAmount], 45);
  SetNumber(c, Named("Spin Amount"), -2);
  EXPECT_EQ(c.value[kParamSpinAmount], -720);  // several turns, as the effect allows
  EXPECT_EQ(SetNumber(c, Named("Spin Amount"), 1e9), SetResult::kClamped);
  EXPECT_EQ(c.value[kParamSpinAmount], 32767);
  SetNumber(c, Named("Position Y"), -0.5);  // beyond the frame is a valid centre
  EXPECT_EQ(c.positionY, -0.5);
  EXPECT_EQ(SetNumber(c, Named("Position Y"), 1e300), SetResult::kClamped);
  EXPECT_EQ(c.positionY, 100);
  SetNumber(c, Named("Repeat Edges"), 0.49);
  EXPECT_EQ(c.value[kParamRepeatEdges], 0);
  SetNumber(c, Named("Repeat Edges"), 0.5);
  EXPECT_EQ(c.value[kParamRepeatEdges], 1);
}

TEST(FilterParams, ItemsMatchInAnyCaseIgnoringPunctuationOrByNumber) {
  FilterControls c = DefaultFilterControls();
  EXPECT_EQ(SetItem(c, Named("Mode"), "SPIN"), SetResult::kApplied);
  EXPECT_EQ(c.value[kParamMode], kModeSpin);
  EXPECT_EQ(SetItem(c, Named("Direction"), "in-out"), SetResult::kApplied);
  EXPECT_EQ(c.value[kParamDirection], kDirectionInOut);
  EXPECT_EQ(SetItem(c, Named("View"), "input (processed)"), SetResult::kApplied);
  EXPECT_EQ(c.value[kParamView], kViewInput);
  EXPECT_EQ(SetItem(c, Named("Quality"), "6"), SetResult::kApplied);
  EXPECT_EQ(c.value[kParamQuality], kQualityCustom);
  EXPECT_EQ(ItemOf(c, Named("Quality")), "Custom");
}

TEST(FilterParams, UnknownItemsAndTheSeparatorKeepThePreviousItem) {
  FilterControls c = DefaultFilterControls();
  SetItem(c, Named("Quality"), "high");
  for (const char* text : {"(-", "5", "0", "7", "", "-1", "ultra", "%s%n", "high high"}) {
    EXPECT_EQ(SetItem(c, Named("Quality"), text), SetResult::kKept) << text;
    EXPECT_EQ(c.value[kParamQuality], 3) << text;
  }
  EXPECT_EQ(SetItem(c, Named("Length"), "zoom"), SetResult::kKept);
  EXPECT_EQ(SetNumber(c, Named("Mode"), 1), SetResult::kKept);
  EXPECT_EQ(c.value[kParamMode], kModeZoom);
}

}  // namespace
}  // namespace solvane::frei0r
