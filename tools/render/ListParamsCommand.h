// --list-params: the controls as the module registers them.
#pragma once

#include <ostream>

#include "host/Host.h"

namespace solvane::cli {

// Runs PARAMS_SETUP and prints one line per registered control: index, id, group, name,
// kind, valid and slider ranges, default, flags and popup items. Returns the command's
// result; nothing is printed when it fails.
PF_Err ListParams(host::Host& host, std::ostream& out);

}  // namespace solvane::cli
