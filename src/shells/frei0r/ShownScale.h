// How an editor's panel shows a frei0r number in the control's own units: the stored
// (frei0r) value times `factor`, on a slider from min to max in those units, with
// `decimals` places. Kdenlive's description and Shotcut's panel both use it, so the two
// editors show the same numbers.
#pragma once

#include "shells/frei0r/FilterParams.h"

namespace solvane::frei0r {

struct ShownScale {
  double factor = 1;
  double min = 0;
  double max = 1;
  int decimals = 2;
  const char* suffix = "";  // "%", "°" or nothing
};

// Only for numbers (sliders, angles, the two halves of a point).
ShownScale ShownScaleOf(const FilterParam& p);

// The control's one-line hint; the two numbers of a point say which axis they are.
std::string ShownHint(const FilterParam& p);

}  // namespace solvane::frei0r
