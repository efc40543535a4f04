// Kdenlive's description of the filter, held to the conventions of the descriptions Kdenlive
// ships: a number's `default` is the stored (frei0r) value and `factor` scales only what is
// shown, so min <= default x factor <= max; a list's default is one of its values; a bool's
// is 0 or 1. Where Kdenlive's own descriptions are installed the same rules are checked
// against them, so the rules are Kdenlive's and not ours.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <sstream>

#include "shells/frei0r/FilterParams.h"
#include "shells/frei0r/KdenliveEffect.h"

namespace solvane::frei0r {
namespace {

using Attributes = std::map<std::string, std::string>;

struct Parameter {
  Attributes attributes;
  std::string display;  // <paramlistdisplay>, for lists
};

std::string Unescaped(std::string text) {
  static const std::pair<const char*, const char*> kEntities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
  for (const auto& [entity, c] : kEntities) {
    for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1)) {
      text.replace(at, std::strlen(entity), c);
    }
  }
  return text;
}

std::vector<Parameter> ParametersOf(const std::string& xml) {
  static const std::regex tag(R"(<parameter\s([^>]*?)/?>)");
  static const std::regex attribute(R"re(([A-Za-z_:.]+)="([^"]*)")re");
  static const std::regex display(R"(^\s*<paramlistdisplay>([^<]*)</paramlistdisplay>)");
  std::vector<Parameter> parameters;
  for (auto it = std::sregex_iterator(xml.begin(), xml.end(), tag); it != std::sregex_iterator();
       ++it) {
    Parameter p;
    const std::string text = (*it)[1];
    for (auto a = std::sregex_iterator(text.begin(), text.end(), attribute);
         a != std::sregex_iterator(); ++a) {
      p.attributes[(*a)[1]] = Unescaped((*a)[2]);
    }
    std::smatch match;
    const std::string after = xml.substr(size_t(it->position() + it->length()), 400);
    if (std::regex_search(after, match, display)) p.display = Unescaped(match[1]);
    parameters.push_back(p);
  }
  return parameters;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  for (std::string part; std::getline(stream, part, separator);) parts.push_back(part);
  return parts;
}

bool ParseNumber(const Attributes& a, const std::string& key, double& value) {
  const auto it = a.find(key);
  if (it == a.end()) return false;
  char* end = nullptr;
  value = std::strtod(it->second.c_str(), &end);
  return !it->second.empty() && *end == '\0';
}

// What breaks the conventions in one parameter ("" if nothing). Parameters whose numbers
// Kdenlive works out itself (%width and the like) are left alone.
std::string ConventionBreak(const Parameter& p) {
  const Attributes& a = p.attributes;
  const std::string type = a.count("type") ? a.at("type") : "";
  const std::string name = a.count("name") ? a.at("name") : "";
  if (name.empty()) return "a parameter without a name";
  if (type == "animated" || type == "constant" || type == "double") {
    for (const char* key : {"default", "min", "max", "factor"}) {
      if (a.count(key) && a.at(key).find('%') != std::string::npos) return "";
    }
    double value = 0, min = 0, max = 0, factor = 1;
    if (!ParseNumber(a, "default", value) || !ParseNumber(a, "min", min) ||
        !ParseNumber(a, "max", max)) {
      return name + ": default, min and max must be numbers";
    }
    if (a.count("factor") && (!ParseNumber(a, "factor", factor) || factor <= 0)) {
      return name + ": factor must be a positive number";
    }
    const double shown = value * factor;
    if (shown < min - 1e-9 * std::abs(min) || shown > max + 1e-9 * std::abs(max)) {
      return name + ": default x factor " + std::to_string(shown) + " is outside min..max";
    }
  } else if (type == "list") {
    const std::vector<std::string> values = Split(a.count("paramlist") ? a.at("paramlist") : "", ';');
    const std::string dephault = a.count("default") ? a.at("default") : "";
    bool found = false;
    for (const std::string& v : values) found = found || v == dephault;
    if (!found) return name + ": the default is not one of the list's values";
    if (!p.display.empty() && Split(p.display, ',').size() != values.size()) {
      return name + ": the shown names and the values differ in number";
    }
  } else if (type == "bool") {
    if (a.count("default") && a.at("default") != "0" && a.at("default") != "1") {
      return name + ": a bool's default is 0 or 1";
    }
  }
  return "";
}

const Parameter& Named(const std::vector<Parameter>& parameters, const std::string& name) {
  for (const Parameter& p : parameters) {
    if (p.attributes.at("name") == name) return p;
  }
  static const Parameter none;
  ADD_FAILURE() << "no parameter " << name;
  return none;
}

double Attribute(const Parameter& p, const std::string& key) {
  double value = NAN;
  EXPECT_TRUE(ParseNumber(p.attributes, key, value)) << key;
  return value;
}

TEST(KdenliveEffect, KeepsKdenlivesConventions) {
  const std::string xml = KdenliveEffectXml();
  EXPECT_NE(xml.find("<effect LC_NUMERIC=\"C\" tag=\"frei0r.solvane\" id=\"frei0r.solvane\">"),
            std::string::npos);
  const std::vector<Parameter> parameters = ParametersOf(xml);
  ASSERT_EQ(parameters.size(), FilterParams().size() + 1);  // and the fixed slice count
  for (const Parameter& p : parameters) EXPECT_EQ(ConventionBreak(p), "");
}

// What Kdenlive stores on adding the effect is what the filter takes for its own defaults,
// and what it shows is the control in its own units.
TEST(KdenliveEffect, DefaultsAreTheFiltersInFrei0rUnits) {
  const std::vector<Parameter> parameters = ParametersOf(KdenliveEffectXml());
  const FilterControls defaults = DefaultFilterControls();
  for (const FilterParam& fp : FilterParams()) {
    const Parameter& p = Named(parameters, fp.name);
    const std::string& type = p.attributes.at("type");
    FilterControls stored = DefaultFilterControls();
    stored.value.fill(-1);
    if (fp.kind == ParamKind::kPopup) {
      ASSERT_EQ(type, "list") << fp.name;
      EXPECT_EQ(SetItem(stored, fp, p.attributes.at("default")), SetResult::kApplied);
    } else if (fp.kind == ParamKind::kCheckbox) {
      ASSERT_EQ(type, "bool") << fp.name;
      EXPECT_EQ(SetNumber(stored, fp, Attribute(p, "default")), SetResult::kApplied);
    } else {
      ASSERT_EQ(type, "animated") << fp.name;  // keyframable
      stored.positionX = stored.positionY = -1;
      EXPECT_EQ(SetNumber(stored, fp, Attribute(p, "default")), SetResult::kApplied);
    }
    if (fp.kind == ParamKind::kPointX) {
      EXPECT_EQ(stored.positionX, defaults.positionX);
    } else if (fp.kind == ParamKind::kPointY) {
      EXPECT_EQ(stored.positionY, defaults.positionY);
    } else {
      EXPECT_EQ(stored.value[fp.control], defaults.value[fp.control]) << fp.name;
    }
  }
  const auto shown = [&](const std::string& name) {
    const Parameter& p = Named(parameters, name);
    return Attribute(p, "default") * Attribute(p, "factor");
  };
  EXPECT_DOUBLE_EQ(shown("Length"), 2000);
  EXPECT_DOUBLE_EQ(shown("Exposure"), 5);
  EXPECT_DOUBLE_EQ(shown("Samples"), 64);
  EXPECT_DOUBLE_EQ(shown("Noise"), 100);
  EXPECT_NEAR(shown("Spin Amount"), 30, 1e-12);
  EXPECT_DOUBLE_EQ(shown("Position X"), 50);
  EXPECT_DOUBLE_EQ(shown("Position Y"), 50);
  EXPECT_EQ(Named(parameters, "Samples").attributes.at("decimals"), "0");
  EXPECT_EQ(Named(parameters, "Length").attributes.at("max"), "10000");
  EXPECT_EQ(Named(parameters, "Noise").attributes.at("suffix"), "%");
  EXPECT_EQ(Named(parameters, "Unmult").attributes.at("default"), "1");
  // MLT never slices the frame for the filter.
  EXPECT_EQ(Named(parameters, "threads").attributes.at("type"), "fixed");
  EXPECT_EQ(Named(parameters, "threads").attributes.at("default"), "1");
  EXPECT_EQ(KdenliveEffectXml().find("Buffer Expansion"), std::string::npos);
}

TEST(KdenliveEffect, PopupValuesAreReadBackAsTheirItems) {
  const std::vector<Parameter> parameters = ParametersOf(KdenliveEffectXml());
  for (const FilterParam& fp : FilterParams()) {
    if (fp.kind != ParamKind::kPopup) continue;
    const Parameter& p = Named(parameters, fp.name);
    const std::vector<std::string> values = Split(p.attributes.at("paramlist"), ';');
    const std::vector<std::string> shown = Split(p.display, ',');
    const std::vector<std::string_view> items = SelectableItems(fp);
    ASSERT_EQ(values.size(), items.size()) << fp.name;
    ASSERT_EQ(shown.size(), items.size()) << fp.name;
    for (size_t i = 0; i < items.size(); ++i) {
      FilterControls c = DefaultFilterControls();
      ASSERT_EQ(SetItem(c, fp, values[i]), SetResult::kApplied) << fp.name;
      EXPECT_EQ(ItemOf(c, fp), items[i]);
      EXPECT_EQ(shown[i], items[i]);
    }
  }
}

// Kdenlive's own frei0r descriptions (Debian's kdenlive-data) keep the same rules; a handful
// of its older ones do not, so the check asks for nearly all.
TEST(KdenliveEffect, RulesAreThoseOfKdenlivesShippedDescriptions) {
  const std::filesystem::path folder = "/usr/share/kdenlive/effects";
  if (!std::filesystem::is_directory(folder)) {
    GTEST_SKIP() << folder << " is not installed (Debian: kdenlive-data)";
  }
  int checked = 0, broken = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename().string().rfind("frei0r_", 0) != 0) continue;
    std::ifstream in(entry.path());
    const std::string xml((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const Parameter& p : ParametersOf(xml)) {
      ++checked;
      const std::string problem = ConventionBreak(p);
      if (!problem.empty()) {
        ++broken;
        std::cout << entry.path().filename().string() << ": " << problem << "\n";
      }
    }
  }
  ASSERT_GT(checked, 200);
  EXPECT_LE(broken * 50, checked) << broken << " of " << checked;
}

}  // namespace
}  // namespace solvane::frei0r
