// The build-time writers of the editor descriptions: a file reaches its name in one step
// (written beside it under a temporary name, then renamed), so an interrupted build leaves
// no half-written description for an install to copy.
#pragma once

#include <string>

namespace solvane::frei0r {

// Writes `text` to `path`. On failure returns "cannot write PATH: REASON" (the system's
// reason) and leaves whatever was at `path`; returns "" on success.
std::string WriteTextFile(const std::string& path, const std::string& text);

}  // namespace solvane::frei0r
