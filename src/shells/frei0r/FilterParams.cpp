#include "shells/frei0r/FilterParams.h"

#include "shells/frei0r/Frei0rApi.h"

#include "core/controls/FixedPoint.h"
#include "core/controls/ItemList.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace solvane::frei0r {
namespace {

// An angle holds as many degrees as the effect's After Effects parameter can, so a value
// means the same in both shells.
constexpr double kMaxAngleDegrees = fixed_point::kLimit;
// A ray centre this many frames away is as far as anything needs to be: its rays are
// parallel across the frame.
constexpr double kMaxPositionFrames = 100;

// Names that differ from the table's, where the table's repeats under another group.
struct Renamed {
  ControlIndex control;
  std::string_view name;
};
constexpr Renamed kRenamed[] = {
    {kParamSpinAmount, "Spin Amount"},
    {kParamAberrationAmount, "Aberration Amount"},
    {kParamChannels, "Aberration Channels"},
};

std::string_view FilterName(const ControlRow& row) {
  for (const Renamed& r : kRenamed) {
    if (r.control == row.index) return r.name;
  }
  return row.name;
}

std::vector<std::string_view> Items(const ControlRow& row) {
  return SplitItems(row.text);
}

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string RangeText(ParamKind kind, const ControlRow& row) {
  switch (kind) {
    case ParamKind::kPopup:
      return "one of: " + ItemList({row.index, kind, "", "", 0});
    case ParamKind::kCheckbox:
      return "on or off";
    case ParamKind::kAngle:
      return "1 = 360 degrees";
    case ParamKind::kPointX:
    case ParamKind::kPointY:
      return "0 to 1 of the frame, 0.5 the centre";
    case ParamKind::kSlider:
      break;
  }
  std::string text = "0 to 1 spans 0 to " + FormatNumber(row.sliderMax);
  if (row.validMax > row.sliderMax) {
    text += "; up to " + FormatNumber(row.validMax / row.sliderMax) + " reaches " +
            FormatNumber(row.validMax);
  }
  if (row.validMin < 0) {
    text += "; down to " + FormatNumber(row.validMin / row.sliderMax) + " reaches " +
            FormatNumber(row.validMin);
  }
  if (row.validMin > 0) text += "; at least " + FormatNumber(row.validMin);
  return text;
}

int Frei0rType(ParamKind kind) {
  switch (kind) {
    case ParamKind::kPopup:
      return F0R_PARAM_STRING;
    case ParamKind::kCheckbox:
      return F0R_PARAM_BOOL;
    default:
      return F0R_PARAM_DOUBLE;
  }
}

FilterParam Describe(const ControlRow& row, ParamKind kind, std::string name,
                     std::string_view hint) {
  FilterParam p{row.index, kind, std::move(name), "", Frei0rType(kind)};
  p.explanation = std::string(hint) + " (" + RangeText(kind, row) + ")";
  return p;
}

// The table's frei0r controls in host order; a point is two numbers, as MLT passes no
// frei0r positions.
std::vector<FilterParam> BuildFilterParams() {
  std::vector<FilterParam> params;
  for (const ControlRow& row : kControlTable) {
    if ((row.shells & kShellFrei0r) == 0) continue;
    const std::string name(FilterName(row));
    switch (row.kind) {
      case ControlKind::kPoint:
        params.push_back(Describe(row, ParamKind::kPointX, name + " X",
                                  std::string(row.hint) + ", across"));
        params.push_back(Describe(row, ParamKind::kPointY, name + " Y",
                                  std::string(row.hint) + ", down"));
        break;
      case ControlKind::kPopup:
        params.push_back(Describe(row, ParamKind::kPopup, name, row.hint));
        break;
      case ControlKind::kSlider:
        params.push_back(Describe(row, ParamKind::kSlider, name, row.hint));
        break;
      case ControlKind::kAngle:
        params.push_back(Describe(row, ParamKind::kAngle, name, row.hint));
        break;
      case ControlKind::kCheckbox:
        params.push_back(Describe(row, ParamKind::kCheckbox, name, row.hint));
        break;
      default:
        break;  // groups and buttons have no frei0r form
    }
  }
  return params;
}

double Clamped(double v, double low, double high, SetResult& result) {
  if (v < low || v > high) result = SetResult::kClamped;
  return std::clamp(v, low, high);
}

}  // namespace

const std::vector<FilterParam>& FilterParams() {
  static const std::vector<FilterParam> params = BuildFilterParams();
  return params;
}

FilterControls DefaultFilterControls() {
  FilterControls controls;
  for (const ControlRow& row : kControlTable) controls.value[row.index] = DefaultValue(row);
  const ControlRow& position = ControlAt(kParamPosition);
  controls.positionX = fixed_point::PercentToPixels(position.pointDefaultX, 1);
  controls.positionY = fixed_point::PercentToPixels(position.pointDefaultY, 1);
  return controls;
}

SetResult SetNumber(FilterControls& controls, const FilterParam& p, double v) {
  if (std::isnan(v) || p.kind == ParamKind::kPopup) return SetResult::kKept;
  SetResult result = SetResult::kApplied;
  const ControlRow& row = ControlAt(p.control);
  double& value = controls.value[p.control];
  switch (p.kind) {
    case ParamKind::kSlider:
      value = Clamped(v * row.sliderMax, row.validMin, row.validMax, result);
      break;
    case ParamKind::kAngle:
      value = Clamped(v * 360.0, -kMaxAngleDegrees, kMaxAngleDegrees, result);
      break;
    case ParamKind::kCheckbox:
      value = v >= 0.5 ? 1 : 0;
      break;
    case ParamKind::kPointX:
      controls.positionX = Clamped(v, -kMaxPositionFrames, kMaxPositionFrames, result);
      break;
    case ParamKind::kPointY:
      controls.positionY = Clamped(v, -kMaxPositionFrames, kMaxPositionFrames, result);
      break;
    case ParamKind::kPopup:
      break;
  }
  return result;
}

SetResult SetItem(FilterControls& controls, const FilterParam& p, std::string_view text) {
  if (p.kind != ParamKind::kPopup) return SetResult::kKept;
  const std::vector<std::string_view> items = Items(ControlAt(p.control));
  const std::string folded = ItemKey(text);
  const std::string_view trimmed = Trimmed(text);
  int number = 0;
  const auto [end, error] =
      std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), number);
  const bool isNumber =
      !trimmed.empty() && error == std::errc() && end == trimmed.data() + trimmed.size();
  for (size_t i = 0; i < items.size(); ++i) {
    if (IsSeparatorItem(items[i])) continue;
    if (isNumber ? number == int(i + 1) : ItemKey(items[i]) == folded) {
      controls.value[p.control] = double(i + 1);
      return SetResult::kApplied;
    }
  }
  return SetResult::kKept;
}

double NumberOf(const FilterControls& controls, const FilterParam& p) {
  const double value = controls.value[p.control];
  switch (p.kind) {
    case ParamKind::kSlider:
      return value / ControlAt(p.control).sliderMax;
    case ParamKind::kAngle:
      return value / 360.0;
    case ParamKind::kPointX:
      return controls.positionX;
    case ParamKind::kPointY:
      return controls.positionY;
    default:
      return value;
  }
}

std::string_view ItemOf(const FilterControls& controls, const FilterParam& p) {
  const std::vector<std::string_view> items = Items(ControlAt(p.control));
  const size_t item = size_t(controls.value[p.control]);
  return item >= 1 && item <= items.size() ? items[item - 1] : std::string_view();
}

std::vector<std::string_view> SelectableItems(const FilterParam& p) {
  std::vector<std::string_view> items = Items(ControlAt(p.control));
  std::erase_if(items, IsSeparatorItem);
  return items;
}

std::string ItemList(const FilterParam& p) {
  // Numbered as SetItem counts them: a separator keeps its number, so "Custom" after one
  // is 6, not 5.
  const std::vector<std::string_view> items = Items(ControlAt(p.control));
  std::string list;
  for (size_t i = 0; i < items.size(); ++i) {
    if (IsSeparatorItem(items[i])) continue;
    if (!list.empty()) list += ", ";
    list += std::to_string(i + 1) + ": " + std::string(items[i]);
  }
  return list;
}

std::string FormatNumber(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

std::string ItemKey(std::string_view text) {
  std::string key;
  for (const char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      key += char(std::tolower(static_cast<unsigned char>(c)));
    }
  }
  return key;
}

}  // namespace solvane::frei0r
