// --key NAME@FRAME=VALUE: a keyframe on a control at a frame of the sequence. Sliders,
// points and angles interpolate linearly between keys, popups and checkboxes hold.
#pragma once

#include <string>

#include "host/ParamStore.h"

namespace solvane::cli {

struct KeyAssignment {
  std::string name;
  int frame = 0;
  std::string value;
};

// Splits "NAME@FRAME=VALUE"; throws OptionError naming --key when it is malformed.
KeyAssignment ParseKeyAssignment(const std::string& text);

// Sets the keyframe at FRAME / fps seconds. Throws OptionError for an unreadable value and
// HostError for an unknown control, a value out of range or a control that cannot vary
// over time ("Quality", "View").
void ApplyKeyAssignment(host::ParamStore& store, const KeyAssignment& key, double fps);

}  // namespace solvane::cli
