#include "shells/frei0r/KdenliveEffect.h"

#include "shells/frei0r/FilterParams.h"
#include "core/controls/Identity.h"

namespace solvane::frei0r {
namespace {

std::string Escaped(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

// What Kdenlive shows for a number: the frei0r value times `factor`, between min and max.
struct Scale {
  double factor, min, max;
  const char* suffix;
};

Scale ScaleOf(const FilterParam& p) {
  const ControlRow& row = ControlAt(p.control);
  switch (p.kind) {
    case ParamKind::kAngle:
      return {360, -3600, 3600, "°"};
    case ParamKind::kPointX:
    case ParamKind::kPointY:
      return {100, -100, 200, "%"};
    default: {
      const bool percent = row.percent;
      return {row.sliderMax, row.validMin, row.validMax, percent ? "%" : ""};
    }
  }
}

std::string ListParameter(const FilterParam& p, const FilterControls& defaults) {
  // Kdenlive's values are single words, which the filter reads as the items they key.
  std::string values, display;
  for (const std::string_view item : SelectableItems(p)) {
    values += (values.empty() ? "" : ";") + ItemKey(item);
    display += (display.empty() ? "" : ",") + std::string(item);
  }
  return "    <parameter type=\"list\" name=\"" + Escaped(p.name) + "\" default=\"" +
         ItemKey(ItemOf(defaults, p)) + "\" paramlist=\"" + Escaped(values) +
         "\">\n      <paramlistdisplay>" + Escaped(display) + "</paramlistdisplay>\n";
}

std::string Parameter(const FilterParam& p, const FilterControls& defaults) {
  std::string xml;
  if (p.kind == ParamKind::kPopup) {
    xml = ListParameter(p, defaults);
  } else if (p.kind == ParamKind::kCheckbox) {
    xml = "    <parameter type=\"bool\" name=\"" + Escaped(p.name) + "\" default=\"" +
          FormatNumber(NumberOf(defaults, p)) + "\">\n";
  } else {
    const Scale s = ScaleOf(p);
    xml = "    <parameter type=\"animated\" name=\"" + Escaped(p.name) + "\" default=\"" +
          FormatNumber(NumberOf(defaults, p) * s.factor) + "\" min=\"" + FormatNumber(s.min) +
          "\" max=\"" + FormatNumber(s.max) + "\" factor=\"" + FormatNumber(s.factor) +
          "\" suffix=\"" + s.suffix + "\" decimals=\"2\">\n";
  }
  return xml + "      <name>" + Escaped(p.name) + "</name>\n      <comment>" +
         Escaped(p.explanation) + "</comment>\n    </parameter>\n";
}

}  // namespace

std::string KdenliveEffectXml() {
  const FilterControls defaults = DefaultFilterControls();
  std::string xml =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE kpartgui>\n"
      "<effect LC_NUMERIC=\"C\" tag=\"frei0r.solvane\" id=\"frei0r.solvane\">\n"
      "    <name>Solvane</name>\n    <description>" +
      Escaped(identity::kDescription) + "</description>\n    <author>Brindel</author>\n";
  for (const FilterParam& p : FilterParams()) xml += Parameter(p, defaults);
  return xml + "</effect>\n";
}

}  // namespace solvane::frei0r
