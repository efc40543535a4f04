// The values one frei0r instance holds for its parameters between frames, as frei0r's
// parameter calls set and read them, with the warnings a bad value earns. No pixels and
// no GL: the part of an instance a host's parameter strings and numbers reach.
#pragma once

#include <string>
#include <vector>

#include "shells/frei0r/FilterParams.h"

namespace solvane::frei0r {

class FilterSettings {
 public:
  FilterSettings();

  // frei0r's parameter calls; `param` points at a double, or at a char* for strings. An
  // index outside the filter's parameters or a null pointer is ignored.
  void SetParam(int index, const void* param);
  void GetParam(int index, void* param);

  const FilterControls& Controls() const { return controls_; }

 private:
  void Warn(size_t index, const std::string& value, const std::string& message);

  FilterControls controls_ = DefaultFilterControls();
  std::vector<std::string> itemText_;      // what GetParam hands out for strings
  std::vector<std::string> lastRejected_;  // the last value each parameter was told off for
};

// One line on standard error, prefixed with the filter's name.
void PrintMessage(const std::string& message);

}  // namespace solvane::frei0r
