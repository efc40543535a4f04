// Kdenlive's description of the filter: every parameter with the filter's own name, the
// displayed scale of each number, and popup values the filter reads back as their items.
#include <gtest/gtest.h>

#include <regex>

#include "shells/frei0r/FilterParams.h"
#include "shells/frei0r/KdenliveEffect.h"

namespace solvane::frei0r {
namespace {

TEST(KdenliveEffect, DescribesEveryParameterUnderItsFrei0rName) {
  const std::string xml = KdenliveEffectXml();
  EXPECT_NE(xml.find("tag=\"frei0r.solvane\""), std::string::npos);
  for (const FilterParam& p : FilterParams()) {
    EXPECT_NE(xml.find("name=\"" + p.name + "\""), std::string::npos) << p.name;
  }
  EXPECT_NE(xml.find("<parameter type=\"animated\" name=\"Length\" default=\"2000\" min=\"0\" "
                     "max=\"10000\" factor=\"2000\""),
            std::string::npos);
  EXPECT_NE(xml.find("<parameter type=\"bool\" name=\"Unmult\" default=\"1\">"), std::string::npos);
  EXPECT_EQ(xml.find("Buffer Expansion"), std::string::npos);
}

TEST(KdenliveEffect, PopupValuesAreReadBackAsTheirItems) {
  const std::string xml = KdenliveEffectXml();
  for (const FilterParam& p : FilterParams()) {
    if (p.kind != ParamKind::kPopup) continue;
    std::smatch match;
    const std::regex list("name=\"" + p.name + "\" default=\"[a-z0-9]+\" paramlist=\"([^\"]*)\"");
    ASSERT_TRUE(std::regex_search(xml, match, list)) << p.name;
    const std::string values = match[1];
    const std::vector<std::string_view> items = SelectableItems(p);
    size_t start = 0;
    for (const std::string_view item : items) {
      const size_t end = values.find(';', start);
      FilterControls c = DefaultFilterControls();
      ASSERT_EQ(SetItem(c, p, values.substr(start, end - start)), SetResult::kApplied) << p.name;
      EXPECT_EQ(ItemOf(c, p), item);
      start = end + 1;
    }
  }
}

}  // namespace
}  // namespace solvane::frei0r
