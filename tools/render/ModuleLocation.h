// Where solvane-render finds the effect module when --module is not given.
#pragma once

#include <string>

namespace solvane::cli {

// The module beside the running executable (the build and an install put them together),
// found from the executable's own file, never from the working directory or PATH.
std::string DefaultModulePath();

}  // namespace solvane::cli
