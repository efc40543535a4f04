// The frei0r parameters of the filter: every control that means something for a fixed-size
// frame, described from the effect's control table, with the mapping of frei0r's 0..1
// doubles and item strings onto each control's own values. Pure data and arithmetic.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/controls/ControlTable.h"

namespace solvane::frei0r {

// How one frei0r parameter reaches its control.
enum class ParamKind : uint8_t {
  kPopup,     // string: an item's text or number
  kSlider,    // double: v x the slider's maximum, clamped to the valid range
  kAngle,     // double: v x 360 degrees
  kCheckbox,  // bool: on from 0.5
  kPointX,    // double: fraction of the frame's width
  kPointY,    // double: fraction of the frame's height
};

struct FilterParam {
  ControlIndex control = kParamInput;
  ParamKind kind = ParamKind::kSlider;
  std::string name;         // unique among the filter's parameters
  std::string explanation;  // what it does and how 0..1 maps onto it
  int frei0rType = 0;       // F0R_PARAM_*
};

// The filter's parameters in frei0r order (the effect's host order).
const std::vector<FilterParam>& FilterParams();

// Every control's value as the filter holds it between frames, by host index: sliders and
// angles in the control's units, popups as the 1-based item, checkboxes 0 or 1, and the
// position as fractions of the frame (x, y).
struct FilterControls {
  std::array<double, kControlCount + 1> value{};
  double positionX = 0.5;
  double positionY = 0.5;
};

// The table's defaults.
FilterControls DefaultFilterControls();

// What became of a value handed to the filter.
enum class SetResult : uint8_t { kApplied, kClamped, kKept };

// Applies a frei0r double or bool to the parameter `p`. NaN keeps the previous value;
// anything beyond the control's range is clamped to it.
SetResult SetNumber(FilterControls& controls, const FilterParam& p, double v);

// Applies an item string: the item's text in any case, ignoring spaces and punctuation
// ("in & out", "Final-Composite"), or its number. Anything else keeps the previous value.
SetResult SetItem(FilterControls& controls, const FilterParam& p, std::string_view text);

// The frei0r double of a numeric parameter (the inverse of SetNumber's mapping).
double NumberOf(const FilterControls& controls, const FilterParam& p);

// The current item's text of a popup parameter.
std::string_view ItemOf(const FilterControls& controls, const FilterParam& p);

// The items of a popup that can be chosen, in order (the separator entry left out).
std::vector<std::string_view> SelectableItems(const FilterParam& p);

// The same with the numbers SetItem takes for them, as "1: a, 2: b, 4: c" (a separator
// keeps its number).
std::string ItemList(const FilterParam& p);

// A number as the filter's messages and descriptions write it (printf's %g).
std::string FormatNumber(double v);

// An item's text as SetItem compares it: lower-case letters and digits only, so
// "In & Out", "in-out" and "INOUT" are one item.
std::string ItemKey(std::string_view text);

}  // namespace solvane::frei0r
