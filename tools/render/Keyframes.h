// --key NAME@FRAME=VALUE: a keyframe on a control at a frame of the sequence. Sliders,
// points and angles interpolate linearly between keys, popups and checkboxes hold.
#pragma once

#include <string>

#include "host/LayerState.h"
#include "host/ParamStore.h"

namespace solvane::cli {

struct KeyAssignment {
  std::string name;
  int frame = 0;
  std::string value;
};

// Splits "NAME@FRAME=VALUE"; throws OptionError naming --key when it is malformed.
KeyAssignment ParseKeyAssignment(const std::string& text);

// A frame's current_time on the layer's clock: frame x time_step. Throws OptionError when
// that does not fit the host's 32-bit time.
A_long FrameTime(int frame, const host::LayerState& layer);

// The time of a frame in seconds, computed as the host computes a command's time
// (current_time = frame x time_step, over time_scale), so that a keyframe at frame N is
// exactly where frame N renders: at 29.97 fps N / 29.97 can land just after it, and a
// held popup would then change one frame late.
double FrameSeconds(int frame, const host::LayerState& layer);

// Sets the keyframe at the frame's time on the layer's clock. Throws OptionError for an
// unreadable value or a frame beyond the host's time range, and HostError for an unknown
// control, a value out of range or a control that cannot vary over time ("Quality", "View").
void ApplyKeyAssignment(host::ParamStore& store, const KeyAssignment& key,
                        const host::LayerState& layer);

}  // namespace solvane::cli
