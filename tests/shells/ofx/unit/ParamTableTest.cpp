#include "shells/ofx/ParamTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/controls/ControlChoices.h"

namespace solvane::ofx {
namespace {

// Saved projects hold the option's place: Quality's menu line must not take one.
TEST(OfxParamTable, ChoiceOptionsSkipTheSeparatorAndMapBackToTheSameItems) {
  EXPECT_EQ(ChoiceOptions(kParamQuality),
            (std::vector<std::string_view>{"Draft", "Moderate", "High", "Extreme", "Custom"}));
  EXPECT_EQ(ItemOfOption(kParamQuality, 4), kQualityCustom);
  EXPECT_EQ(ItemOfOption(kParamQuality, 3), 4);
  EXPECT_EQ(OptionOfItem(kParamQuality, kQualityCustom), 4);
  for (ControlIndex popup : {kParamMode, kParamThresholdMode, kParamDirection, kParamChannels,
                             kParamQuality, kParamBlendMode, kParamView}) {
    const int options = int(ChoiceOptions(popup).size());
    for (int option = 0; option < options; ++option) {
      EXPECT_EQ(OptionOfItem(popup, ItemOfOption(popup, option)), option) << popup;
    }
  }
}

TEST(OfxParamTable, AStrayOptionGivesThePopupsDefault) {
  EXPECT_EQ(ItemOfOption(kParamView, 3), kViewFinalComposite);
  EXPECT_EQ(ItemOfOption(kParamView, -1), kViewFinalComposite);
  EXPECT_EQ(ItemOfOption(kParamMode, 1 << 30), kModeZoom);
}

TEST(OfxParamTable, NamesAreUniqueAndParentsAreGroupsOfTheTable) {
  std::set<std::string_view> names;
  for (const ParamRow& row : Params()) {
    EXPECT_TRUE(names.insert(row.name).second) << row.name;
    const std::string_view parent = ParentOf(row.control);
    if (parent.empty()) continue;
    const auto group = std::find_if(Params().begin(), Params().end(),
                                    [&](const ParamRow& r) { return r.name == parent; });
    ASSERT_NE(group, Params().end()) << row.name;
    EXPECT_EQ(group->kind, ParamKind::kGroup);
  }
  EXPECT_EQ(ParentOf(kParamAberrationAmount), "aberrationGroup");
  EXPECT_EQ(ParentOf(kParamAberrationGroup), "styleGroup");
  EXPECT_EQ(ParentOf(kParamMode), "");
  EXPECT_EQ(ParamOf(kParamDebugLeft), nullptr);
  ASSERT_NE(ParamOf(kParamBufferExpansion), nullptr);
  EXPECT_EQ(ParamOf(kParamSamples)->kind, ParamKind::kInteger);
}

}  // namespace
}  // namespace solvane::ofx
