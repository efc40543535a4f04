#include "frei0r/FilterParams.h"

#include "frei0r/Frei0rApi.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace solvane::frei0r {
namespace {

// A 16.16 fixed-point angle, as the effect's host hands it over, holds this many degrees.
constexpr double kMaxAngleDegrees = 32767;
// A ray centre this many frames away is as far as anything needs to be: its rays are
// parallel across the frame.
constexpr double kMaxPositionFrames = 100;
// The separator entry of a popup's item list; it cannot be chosen.
constexpr std::string_view kSeparatorItem = "(-";

struct Described {
  PF_ParamIndex control;
  ParamKind kind;
  std::string_view name;  // empty: the table's name
  std::string_view what;
};

// The controls a fixed-size frame can use, in host order. "Buffer Expansion" is left out:
// a frei0r frame cannot grow. The "Debug" sliders have no effect on the image.
constexpr Described kDescribed[] = {
    {kParamMode, ParamKind::kPopup, "",
     "Spin: rays turn about the position; Zoom: rays "
     "stream from or into it"},
    {kParamPosition, ParamKind::kPointX, "Position X", "Ray centre, across"},
    {kParamPosition, ParamKind::kPointY, "Position Y", "Ray centre, down"},
    {kParamThresholdMode, ParamKind::kPopup, "",
     "Bright parts found by luminance or by "
     "each channel"},
    {kParamThreshold, ParamKind::kSlider, "",
     "Brightness below which nothing casts rays, "
     "in per cent"},
    {kParamThresholdSmooth, ParamKind::kSlider, "", "Softness of the threshold, in per cent"},
    {kParamLength, ParamKind::kSlider, "", "How far the zoom rays reach (Zoom)"},
    {kParamSpinAmount, ParamKind::kAngle, "Spin Amount", "Turn of the rays in degrees (Spin)"},
    {kParamExposure, ParamKind::kSlider, "", "Brightness of the rays"},
    {kParamDecay, ParamKind::kSlider, "", "How fast the rays fade along their length"},
    {kParamDirection, ParamKind::kPopup, "",
     "Zoom rays stream out of the position, into "
     "it, or both"},
    {kParamAberrationAmount, ParamKind::kSlider, "Aberration Amount",
     "Chromatic aberration, in per cent"},
    {kParamChannels, ParamKind::kPopup, "Aberration Channels",
     "The two channels the "
     "aberration shifts"},
    {kParamQuality, ParamKind::kPopup, "", "Samples per ray; Custom uses Samples and Noise"},
    {kParamSamples, ParamKind::kSlider, "", "Samples per ray with Quality Custom"},
    {kParamNoise, ParamKind::kSlider, "", "Sample jitter with Quality Custom, in per cent"},
    {kParamRepeatEdges, ParamKind::kCheckbox, "",
     "The frame is mirrored beyond its edges instead of reading transparent black"},
    {kParamInputOpacity, ParamKind::kSlider, "",
     "Opacity of the input over the rays "
     "(Final Composite), in per cent"},
    {kParamBlendMode, ParamKind::kPopup, "",
     "How the input combines with the rays (Final "
     "Composite)"},
    {kParamUnmult, ParamKind::kCheckbox, "",
     "Rays carry alpha (needed where the frame is "
     "transparent)"},
    {kParamView, ParamKind::kPopup, "",
     "The thresholded input, the rays alone, or the rays "
     "with the input composited"},
};

std::vector<std::string_view> Items(const ParamRow& row) {
  std::vector<std::string_view> items;
  std::string_view rest = row.text;
  while (true) {
    const size_t bar = rest.find('|');
    items.push_back(rest.substr(0, bar));
    if (bar == std::string_view::npos) break;
    rest.remove_prefix(bar + 1);
  }
  return items;
}

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string RangeText(const Described& d, const ParamRow& row) {
  switch (d.kind) {
    case ParamKind::kPopup:
      return "one of: " + ItemList({d.control, d.kind, "", "", 0});
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

std::vector<FilterParam> BuildFilterParams() {
  std::vector<FilterParam> params;
  for (const Described& d : kDescribed) {
    const ParamRow& row = ParamRowAt(d.control);
    FilterParam p{d.control, d.kind, std::string(d.name.empty() ? row.name : d.name), "",
                  Frei0rType(d.kind)};
    p.explanation = std::string(d.what) + " (" + RangeText(d, row) + ")";
    params.push_back(std::move(p));
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
  for (const ParamRow& row : kParamTable) {
    switch (row.type) {
      case PF_Param_FLOAT_SLIDER:
        controls.value[row.index] = row.sliderDefault;
        break;
      case PF_Param_POPUP:
      case PF_Param_CHECKBOX:
      case PF_Param_ANGLE:
        controls.value[row.index] = row.intDefault;
        break;
      case PF_Param_POINT:
        controls.positionX = row.pointDefaultX / 100.0;
        controls.positionY = row.pointDefaultY / 100.0;
        break;
      default:
        break;
    }
  }
  return controls;
}

SetResult SetNumber(FilterControls& controls, const FilterParam& p, double v) {
  if (std::isnan(v) || p.kind == ParamKind::kPopup) return SetResult::kKept;
  SetResult result = SetResult::kApplied;
  const ParamRow& row = ParamRowAt(p.control);
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
  const std::vector<std::string_view> items = Items(ParamRowAt(p.control));
  const std::string folded = ItemKey(text);
  const std::string_view trimmed = Trimmed(text);
  int number = 0;
  const auto [end, error] =
      std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), number);
  const bool isNumber =
      !trimmed.empty() && error == std::errc() && end == trimmed.data() + trimmed.size();
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == kSeparatorItem) continue;
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
      return value / ParamRowAt(p.control).sliderMax;
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
  const std::vector<std::string_view> items = Items(ParamRowAt(p.control));
  const size_t item = size_t(controls.value[p.control]);
  return item >= 1 && item <= items.size() ? items[item - 1] : std::string_view();
}

std::vector<std::string_view> SelectableItems(const FilterParam& p) {
  std::vector<std::string_view> items = Items(ParamRowAt(p.control));
  std::erase(items, kSeparatorItem);
  return items;
}

std::string ItemList(const FilterParam& p) {
  std::string list;
  for (const std::string_view item : SelectableItems(p)) {
    if (!list.empty()) list += ", ";
    list += item;
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
