// Which controls the interface shows and which it greys out, for given control values:
// Mode shows either the spin's angle or the zoom's length and direction, Quality Custom
// shows Samples and Noise, and the compositing controls mean something only in the Final
// Composite view. The Debug group is never shown. Each shell applies the result through
// its own API.
#pragma once

#include <array>
#include <cstdint>

#include "core/controls/ControlTable.h"

namespace solvane {

struct ControlUi {
  bool hidden = false;
  bool disabled = false;
};

struct UiState {
  std::array<ControlUi, kParamCount> control{};
  const ControlUi& operator[](int32_t index) const { return control[size_t(index)]; }
};

// `mode`, `quality` and `view` are the popups' 1-based items.
UiState UiRules(int32_t mode, int32_t quality, int32_t view);

}  // namespace solvane
