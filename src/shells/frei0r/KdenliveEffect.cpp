#include "shells/frei0r/KdenliveEffect.h"

#include "shells/frei0r/FilterParams.h"
#include "shells/frei0r/PanelText.h"
#include "shells/frei0r/ShownScale.h"
#include "core/controls/Identity.h"

namespace solvane::frei0r {
namespace {

std::string ListParameter(const FilterParam& p, const FilterControls& defaults) {
  // Kdenlive's values are single words, which the filter reads as the items they key.
  std::string values, display;
  for (const std::string_view item : SelectableItems(p)) {
    values += (values.empty() ? "" : ";") + ItemKey(item);
    display += (display.empty() ? "" : ",") + std::string(item);
  }
  return "    <parameter type=\"list\" name=\"" + XmlEscaped(p.name) + "\" default=\"" +
         ItemKey(ItemOf(defaults, p)) + "\" paramlist=\"" + XmlEscaped(values) +
         "\">\n      <paramlistdisplay>" + XmlEscaped(display) + "</paramlistdisplay>\n";
}

// Numbers are keyframable ("animated"); the default is the frei0r value Kdenlive stores,
// and only what it shows is scaled.
std::string NumberParameter(const FilterParam& p, const FilterControls& defaults) {
  const ShownScale s = ShownScaleOf(p);
  return "    <parameter type=\"animated\" name=\"" + XmlEscaped(p.name) + "\" default=\"" +
         ExactNumber(NumberOf(defaults, p)) + "\" min=\"" + FormatNumber(s.min) + "\" max=\"" +
         FormatNumber(s.max) + "\" factor=\"" + FormatNumber(s.factor) + "\" decimals=\"" +
         std::to_string(s.decimals) + "\"" +
         (*s.suffix ? std::string(" suffix=\"") + s.suffix + "\"" : std::string()) + ">\n";
}

std::string Parameter(const FilterParam& p, const FilterControls& defaults) {
  std::string xml;
  if (p.kind == ParamKind::kPopup) {
    xml = ListParameter(p, defaults);
  } else if (p.kind == ParamKind::kCheckbox) {
    xml = "    <parameter type=\"bool\" name=\"" + XmlEscaped(p.name) + "\" default=\"" +
          FormatNumber(NumberOf(defaults, p)) + "\">\n";
  } else {
    xml = NumberParameter(p, defaults);
  }
  return xml + "      <name>" + XmlEscaped(p.name) + "</name>\n      <comment>" +
         XmlEscaped(ShownHint(p)) + "</comment>\n    </parameter>\n";
}

}  // namespace

std::string KdenliveEffectXml() {
  const FilterControls defaults = DefaultFilterControls();
  std::string xml =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE kpartgui>\n"
      "<effect LC_NUMERIC=\"C\" tag=\"frei0r.solvane\" id=\"frei0r.solvane\">\n"
      "    <name>Solvane</name>\n    <description>" +
      XmlEscaped(identity::kDescription) + "</description>\n    <author>Brindel</author>\n";
  for (const FilterParam& p : FilterParams()) xml += Parameter(p, defaults);
  // MLT cuts a frame into this many slices for a frei0r filter; the rays cross the whole
  // frame, so it stays one.
  xml += "    <parameter type=\"fixed\" name=\"threads\" default=\"1\"/>\n";
  return xml + "</effect>\n";
}

}  // namespace solvane::frei0r
