#include "shells/frei0r/FilterSettings.h"

#include <cstdio>

#include "shells/frei0r/Frei0rApi.h"

namespace solvane::frei0r {

void PrintMessage(const std::string& message) {
  std::fprintf(stderr, "solvane: %s\n", message.c_str());
}

FilterSettings::FilterSettings()
    : itemText_(FilterParams().size()), lastRejected_(FilterParams().size()) {}

void FilterSettings::SetParam(int index, const void* param) {
  const std::vector<FilterParam>& params = FilterParams();
  if (index < 0 || size_t(index) >= params.size() || param == nullptr) return;
  const FilterParam& p = params[size_t(index)];
  if (p.frei0rType == F0R_PARAM_STRING) {
    const char* text = *static_cast<const char* const*>(param);
    if (text == nullptr) return;
    if (SetItem(controls_, p, text) == SetResult::kKept) {
      Warn(size_t(index), text,
           "\"" + p.name + "\" has no item \"" + text + "\"; it stays " +
               std::string(ItemOf(controls_, p)) + " (items: " + ItemList(p) + ")");
    }
    return;
  }
  const double v = *static_cast<const double*>(param);
  switch (SetNumber(controls_, p, v)) {
    case SetResult::kKept:
      Warn(size_t(index), "nan",
           "\"" + p.name + "\" cannot be NaN; it stays " + FormatNumber(NumberOf(controls_, p)));
      break;
    case SetResult::kClamped:
      Warn(size_t(index), FormatNumber(v),
           "\"" + p.name + "\" " + FormatNumber(v) + " is out of range; it is clamped to " +
               FormatNumber(NumberOf(controls_, p)));
      break;
    case SetResult::kApplied:
      lastRejected_[size_t(index)].clear();
      break;
  }
}

void FilterSettings::GetParam(int index, void* param) {
  const std::vector<FilterParam>& params = FilterParams();
  if (index < 0 || size_t(index) >= params.size() || param == nullptr) return;
  const FilterParam& p = params[size_t(index)];
  if (p.frei0rType == F0R_PARAM_STRING) {
    itemText_[size_t(index)] = ItemOf(controls_, p);
    *static_cast<char**>(param) = itemText_[size_t(index)].data();
  } else {
    *static_cast<double*>(param) = NumberOf(controls_, p);
  }
}

// Hosts set every parameter before every frame, so a bad value would be told off once a
// frame; it is told once, until the parameter is given another value.
void FilterSettings::Warn(size_t index, const std::string& value, const std::string& message) {
  if (lastRejected_[index] == value) return;
  lastRejected_[index] = value;
  PrintMessage(message);
}

}  // namespace solvane::frei0r
