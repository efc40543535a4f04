// Presets: control values and keyframes by display name in a JSON file, the same names
// and value texts as --param and --key:
//   { "controls": { "Mode": "Zoom", "Position": "240,135", "Threshold": 40 },
//     "keys": [ { "control": "Position", "frame": 0, "value": "40,60" } ] }
#pragma once

#include <string>
#include <vector>

#include "host/LayerState.h"
#include "host/ParamStore.h"
#include "tools/render/Keyframes.h"
#include "tools/render/ParamAssignment.h"

namespace solvane::cli {

struct Preset {
  std::vector<ParamAssignment> controls;
  std::vector<KeyAssignment> keys;
};

// Throws OptionError naming the file for a file that cannot be read or is not a preset:
// parse errors give the line and column; more than 1 MiB (counted as read, so a device or
// a FIFO is held to it too) or a nesting deeper than a preset needs are refused before the
// parser goes further.
Preset ReadPreset(const std::string& path);

// Every control that has a value: a keyframed one as its keys (frames of the layer's
// clock), the others under "controls". A point at its default, the layer's centre, is left
// out, so that the preset keeps "the centre" for a layer of any size. Written with
// WriteFileAtomically: throws FileError when the file cannot be written, leaving any
// previous file as it was.
void WritePreset(const std::string& path, const host::ParamStore& store,
                 const host::LayerState& layer);

// A control's value as text that --param reads back to the same value.
std::string ValueText(const host::RegisteredParam& param, const host::ParamValue& value);

}  // namespace solvane::cli
