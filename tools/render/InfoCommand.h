// --info: the module's registration resource and its About text.
#pragma once

#include <ostream>

#include "host/Host.h"

namespace solvane::cli {

// Prints the resource fields and the About text as the module answers it; returns the
// About command's result.
PF_Err PrintModuleInfo(host::Host& host, std::ostream& out);

}  // namespace solvane::cli
