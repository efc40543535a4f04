// Shotcut's panel for the filter, held to what Shotcut's own panels do: the metadata names
// the MLT service and the panel files; every parameter has a labelled control with its hint
// and a reset; numbers are keyframable sliders in the control's own units; popups are combo
// boxes whose values the filter reads back as their items; the panel keeps MLT from slicing
// the frame. (The QML's syntax is checked by qmllint where it is installed.)
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <regex>

#include "shells/frei0r/FilterParams.h"
#include "shells/frei0r/PanelText.h"
#include "shells/frei0r/ShotcutPanel.h"
#include "shells/frei0r/ShownScale.h"

namespace solvane::frei0r {
namespace {

std::string File(const std::string& name) {
  for (const PanelFile& f : ShotcutPanelFiles()) {
    if (f.name == name) return f.text;
  }
  ADD_FAILURE() << "no " << name;
  return "";
}

size_t Count(const std::string& text, const std::string& what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}

// The text of the QML block that starts at `opening` (from its "{" to the matching "}").
std::string Block(const std::string& text, size_t opening) {
  const size_t start = text.find('{', opening);
  int depth = 0;
  for (size_t i = start; i < text.size(); ++i) {
    if (text[i] == '{') ++depth;
    if (text[i] == '}' && --depth == 0) return text.substr(start, i - start + 1);
  }
  return "";
}

// The row of the parameter labelled `name`: its label and the three cells after it.
std::string Row(const std::string& ui, const std::string& name) {
  const size_t label = ui.find("text: qsTr(" + QmlQuoted(name) + ")");
  EXPECT_NE(label, std::string::npos) << name;
  if (label == std::string::npos) return "";
  const size_t next = ui.find("        Label {", label);
  return ui.substr(label, next == std::string::npos ? std::string::npos : next - label);
}

TEST(ShotcutPanel, MetadataListsTheFilterWithItsPanelsAndKeyframeTracks) {
  const std::string meta = File("meta.qml");
  EXPECT_NE(meta.find("type: Metadata.Filter"), std::string::npos);
  EXPECT_NE(meta.find("mlt_service: 'frei0r.solvane'"), std::string::npos);
  EXPECT_NE(meta.find("name: qsTr('Brindel\\'s Solvane')"), std::string::npos);
  EXPECT_NE(meta.find("qml: 'ui.qml'"), std::string::npos);
  EXPECT_NE(meta.find("vui: 'vui.qml'"), std::string::npos);
  for (const FilterParam& p : FilterParams()) {
    const bool number = p.kind != ParamKind::kPopup && p.kind != ParamKind::kCheckbox;
    EXPECT_EQ(Count(meta, "property: " + QmlQuoted(p.name)), number ? 1u : 0u) << p.name;
  }
}

TEST(ShotcutPanel, EveryParameterHasAHintedControlOfItsKind) {
  const std::string ui = File("ui.qml");
  const FilterControls defaults = DefaultFilterControls();
  for (const FilterParam& p : FilterParams()) {
    const std::string row = Row(ui, p.name);
    EXPECT_NE(row.find("Shotcut.HoverTip {\n                text: qsTr(" +
                       QmlQuoted(ShownHint(p)) + ")"),
              std::string::npos)
        << p.name;
    EXPECT_NE(row.find("Shotcut.UndoButton"), std::string::npos) << p.name;
    const std::string name = QmlQuoted(p.name);
    switch (p.kind) {
      case ParamKind::kPopup:
        EXPECT_NE(row.find("Shotcut.ComboBox"), std::string::npos) << p.name;
        EXPECT_NE(row.find("onActivated: filter.set(" + name), std::string::npos) << p.name;
        EXPECT_EQ(row.find("KeyframesButton"), std::string::npos) << p.name;
        break;
      case ParamKind::kCheckbox:
        EXPECT_NE(row.find("CheckBox {"), std::string::npos) << p.name;
        EXPECT_NE(row.find("filter.set(" + name + ", checked ? 1 : 0)"), std::string::npos);
        break;
      default: {
        const ShownScale s = ShownScaleOf(p);
        EXPECT_NE(row.find("Shotcut.SliderSpinner"), std::string::npos) << p.name;
        EXPECT_NE(row.find("Shotcut.KeyframesButton"), std::string::npos) << p.name;
        EXPECT_NE(row.find("maximumValue: " + ExactNumber(s.max)), std::string::npos) << p.name;
        EXPECT_NE(row.find("decimals: " + std::to_string(s.decimals)), std::string::npos);
        // The reset is the filter's default in shown units.
        EXPECT_NE(row.find(".value = " + ExactNumber(NumberOf(defaults, p)) + " * " +
                           ExactNumber(s.factor)),
                  std::string::npos)
            << p.name;
        EXPECT_NE(ui.find("filter.set(" + name + ", " +
                          QmlQuoted(ExactNumber(NumberOf(defaults, p))) + ");"),
                  std::string::npos)
            << p.name;
      }
    }
  }
  EXPECT_NE(Row(ui, "Samples").find("decimals: 0"), std::string::npos);
  EXPECT_NE(Row(ui, "Samples").find("stepSize: 1\n"), std::string::npos);
}

TEST(ShotcutPanel, ComboItemsAreReadBackAsTheirItemsAndNumbers) {
  const std::string ui = File("ui.qml");
  static const std::regex element(
      R"re(text: qsTr\('((?:[^'\\]|\\.)*)'\)\n\s*value: '([a-z0-9]+)'\n\s*number: (\d+))re");
  for (const FilterParam& p : FilterParams()) {
    if (p.kind != ParamKind::kPopup) continue;
    const std::string row = Row(ui, p.name);
    const std::vector<std::string_view> items = SelectableItems(p);
    size_t n = 0;
    for (auto it = std::sregex_iterator(row.begin(), row.end(), element);
         it != std::sregex_iterator(); ++it, ++n) {
      ASSERT_LT(n, items.size()) << p.name;
      EXPECT_EQ((*it)[1].str(), items[n]);
      FilterControls byKey = DefaultFilterControls(), byNumber = DefaultFilterControls();
      ASSERT_EQ(SetItem(byKey, p, (*it)[2].str()), SetResult::kApplied);
      ASSERT_EQ(SetItem(byNumber, p, (*it)[3].str()), SetResult::kApplied);
      EXPECT_EQ(ItemOf(byKey, p), items[n]);
      EXPECT_EQ(ItemOf(byNumber, p), items[n]);
    }
    EXPECT_EQ(n, items.size()) << p.name;
  }
}

// MLT keeps a number given as a number to six digits ("%g" when the project is saved), so
// 30 degrees (1/12 of a turn) came back as 29.99999; the panel hands numbers over as text.
TEST(ShotcutPanel, NumbersReachMltAsTextThatReadsBackExactly) {
  const std::string ui = File("ui.qml");
  const FilterControls defaults = DefaultFilterControls();
  static const std::regex startValues(R"re(startValues: \[([^\]]*)\])re");
  std::smatch listed;
  ASSERT_TRUE(std::regex_search(ui, listed, startValues));
  const std::string list = listed[1].str();
  for (const FilterParam& p : FilterParams()) {
    if (p.kind == ParamKind::kPopup || p.kind == ParamKind::kCheckbox) continue;
    const std::string set = "filter.set(" + QmlQuoted(p.name) + ", ";
    for (size_t at = ui.find(set); at != std::string::npos; at = ui.find(set, at + 1)) {
      const char first = ui[at + set.size()];
      EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(first)) || first == '-')
          << p.name << " set as a number";
    }
    const std::string text = ExactNumber(NumberOf(defaults, p));
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), NumberOf(defaults, p)) << p.name;
    EXPECT_NE(list.find(QmlQuoted(text)), std::string::npos) << p.name;
    const std::string row = Row(ui, p.name);
    const std::string value =
        "String(" + row.substr(row.find("id: ") + 4, row.find('\n', row.find("id: ")) -
                                                          row.find("id: ") - 4);
    EXPECT_EQ(Count(row, value + ".value / "), 2u) << p.name << ": slider and keyframes";
    EXPECT_NE(ui.find("updateFilter(" + QmlQuoted(p.name) + ", " + value + ".value / "),
              std::string::npos)
        << p.name;
  }
  EXPECT_NE(ui.find("filter.set('Spin Amount', '0.08333333333333333');"), std::string::npos);
}

TEST(ShotcutPanel, KeepsMltFromSlicingTheFrameAndSetsDefaultsOnce) {
  const std::string ui = File("ui.qml");
  const size_t completed = ui.find("Component.onCompleted:");
  ASSERT_NE(completed, std::string::npos);
  const std::string onCompleted = Block(ui, completed);
  // Every time the panel opens, also for projects written elsewhere with threads=0.
  EXPECT_LT(onCompleted.find("filter.set('threads', 1);"), onCompleted.find("if (filter.isNew)"));
  EXPECT_EQ(Count(onCompleted, "filter.set("), FilterParams().size() + 1);
}

TEST(ShotcutPanel, PositionIsDraggedOnTheVideo) {
  const std::string vui = File("vui.qml");
  EXPECT_NE(vui.find("Shotcut.VuiBase {"), std::string::npos);
  EXPECT_NE(vui.find("drag.target: parent"), std::string::npos);
  EXPECT_NE(vui.find("setValue('Position X', x);"), std::string::npos);
  EXPECT_NE(vui.find("setValue('Position Y', y);"), std::string::npos);
}

TEST(ShotcutPanel, BracesBalanceInEveryFile) {
  for (const PanelFile& f : ShotcutPanelFiles()) {
    EXPECT_EQ(Count(f.text, "{"), Count(f.text, "}")) << f.name;
    EXPECT_EQ(Count(f.text, "("), Count(f.text, ")")) << f.name;
    EXPECT_EQ(Count(f.text, "["), Count(f.text, "]")) << f.name;
  }
}

}  // namespace
}  // namespace solvane::frei0r
