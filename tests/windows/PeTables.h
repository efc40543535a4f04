// The export and import tables of a PE module file: what the host can call in it, and
// which DLLs Windows must find for it to load.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/PeImage.h"

namespace solvane::test {

// The bytes of the module named by the environment variable `variable`, which
// scripts/test-windows.sh sets to what it has just cross-built; an unset variable or an
// unreadable file fails the test (and gives no bytes).
std::vector<uint8_t> ReadModuleNamedBy(const char* variable);

std::vector<std::string> ExportedNames(const host::PeImage& image);
// The DLL names of the import table, then those of the delay-load table, as stored.
std::vector<std::string> ImportedDlls(const host::PeImage& image);

// A plug-in DLL for 64-bit Windows whose export table holds exactly `names` (in any order).
void ExpectWin64DllExportingOnly(const host::PeImage& image, std::vector<std::string> names);

// Imports only DLLs every Windows has (kernel32, user32, gdi32, opengl32, msvcrt; any case),
// OpenGL among them: no GLEW, no compiler runtime to ship beside the plug-in.
void ExpectOnlySystemImports(const host::PeImage& image);

}  // namespace solvane::test
