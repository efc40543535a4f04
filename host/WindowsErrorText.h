// The system's own wording of a Windows error code, shared by the host's module loader and
// the tools' file writes. Windows only: POSIX code has strerror.
#pragma once

#include <string>

namespace solvane::host {

// "The system cannot find the file specified (Windows error 2)"; "error (Windows error N)"
// where the system has no text for the code.
std::string WindowsErrorText(unsigned long code);

}  // namespace solvane::host
