// Where solvane-render finds the effect module when --module is not given.
#pragma once

#include <string>

namespace solvane::cli {

// The module beside the executable (the build and an install put them together).
std::string DefaultModulePath(const char* argv0);

}  // namespace solvane::cli
