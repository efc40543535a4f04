// --info: the module's registration resource and its About text.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "host/Host.h"

namespace solvane::cli {

// Prints the resource fields and the About text as the module answers it; returns the
// About command's result.
PF_Err PrintModuleInfo(host::Host& host, std::ostream& out);

// A packed version word as "1.0.0 (stage 0, build 1, 0x00080001)".
std::string VersionText(uint32_t word);

}  // namespace solvane::cli
