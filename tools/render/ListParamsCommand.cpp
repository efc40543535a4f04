#include "tools/render/ListParamsCommand.h"

#include <cstdio>
#include <string>

#include "core/controls/FixedPoint.h"

namespace solvane::cli {
namespace {

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string Fixed(PF_Fixed value) {
  return Number(fixed_point::ToDouble(value));
}

std::string KindName(PF_ParamType type) {
  switch (type) {
    case PF_Param_GROUP_START:
      return "group start";
    case PF_Param_GROUP_END:
      return "group end";
    case PF_Param_BUTTON:
      return "button";
    case PF_Param_POPUP:
      return "popup";
    case PF_Param_POINT:
      return "point";
    case PF_Param_FLOAT_SLIDER:
      return "float slider";
    case PF_Param_ANGLE:
      return "angle";
    case PF_Param_CHECKBOX:
      return "checkbox";
    default:
      return "kind " + std::to_string(type);
  }
}

// Valid range, slider range and default, in the terms the host shows the user.
struct Columns {
  std::string valid, slider, dephault, extra;
};

Columns Describe(const host::RegisteredParam& p) {
  const PF_ParamDef& d = p.def;
  Columns c;
  if (d.param_type == PF_Param_FLOAT_SLIDER) {
    const PF_FloatSliderDef& fs = d.u.fs_d;
    const bool percent = fs.display_flags == PF_ValueDisplayFlag_PERCENT;
    c.valid = Number(fs.valid_min) + " to " + Number(fs.valid_max);
    c.slider = Number(fs.slider_min) + " to " + Number(fs.slider_max);
    c.dephault = Number(fs.dephault) + (percent ? "%" : "");
    c.extra = "precision " + std::to_string(fs.precision);
  } else if (d.param_type == PF_Param_POPUP) {
    const std::vector<std::string> choices = p.Choices();
    const size_t n = size_t(d.u.pd.dephault);
    c.dephault = std::to_string(n) + (n >= 1 && n <= choices.size() ? " " + choices[n - 1] : "");
    c.extra = "items \"" + p.text + "\"";
  } else if (d.param_type == PF_Param_CHECKBOX) {
    c.dephault = d.u.bd.dephault != 0 ? "on" : "off";
    c.extra = "box \"" + p.text + "\"";
  } else if (d.param_type == PF_Param_ANGLE) {
    c.dephault = Fixed(d.u.ad.dephault) + " deg";
  } else if (d.param_type == PF_Param_POINT) {
    c.dephault = Fixed(d.u.td.x_dephault) + "%, " + Fixed(d.u.td.y_dephault) + "% of layer";
  } else if (d.param_type == PF_Param_BUTTON) {
    c.extra = "face \"" + p.text + "\"";
  }
  return c;
}

// Padding of the last column leaves trailing blanks when the row has no details.
std::string WithoutTrailingBlanks(const char* text) {
  std::string line(text);
  line.erase(line.find_last_not_of(" \n") + 1);
  return line + "\n";
}

std::string Flags(const PF_ParamDef& d) {
  std::string out;
  auto add = [&out](const char* word) { out += (out.empty() ? "" : ",") + std::string(word); };
  if (d.flags & PF_ParamFlag_CANNOT_TIME_VARY) add("no-keyframes");
  if ((d.flags & PF_ParamFlag_COLLAPSE_TWIRLY) && d.param_type == PF_Param_GROUP_START) {
    add("collapsed");
  }
  if (d.flags & PF_ParamFlag_SUPERVISE) add("supervised");
  if (d.ui_flags & PF_PUI_INVISIBLE) add("invisible");
  return out.empty() ? "-" : out;
}

}  // namespace

PF_Err ListParams(host::Host& host, std::ostream& out) {
  if (const PF_Err err = host.ParamsSetup()) return err;
  const host::ParamStore& store = host.Params();
  char line[512];
  std::snprintf(line, sizeof line, "%5s %4s  %-21s %-25s %-13s %-15s %-13s %-18s %-26s %s\n",
                "index", "id", "group", "name", "kind", "valid", "slider", "default", "flags",
                "details");
  out << WithoutTrailingBlanks(line);
  for (int index = 1; index <= store.Count(); ++index) {
    const host::RegisteredParam p = store.At(index);
    const Columns c = Describe(p);
    std::snprintf(
        line, sizeof line, "%5d %4d  %-21s %-25s %-13s %-15s %-13s %-18s %-26s %s\n", p.index,
        p.def.uu.id, p.group.empty() ? "-" : p.group.c_str(),
        p.Name().empty() ? "-" : p.Name().c_str(), KindName(p.def.param_type).c_str(),
        c.valid.empty() ? "-" : c.valid.c_str(), c.slider.empty() ? "-" : c.slider.c_str(),
        c.dephault.empty() ? "-" : c.dephault.c_str(), Flags(p.def).c_str(), c.extra.c_str());
    out << WithoutTrailingBlanks(line);
  }
  out << store.Count() << " controls; the module reports " << store.NumParams()
      << " parameters, the layer input included\n";
  return PF_Err_NONE;
}

}  // namespace solvane::cli
