// The cross-built frei0r filter solvane.dll read as a PE file: a 64-bit DLL that exports
// frei0r's entry points and nothing else, and imports only what Windows itself provides
// (no GLEW, libstdc++, libgcc or winpthread DLL to install beside it).
#include <gtest/gtest.h>

#include "PeTables.h"
#include "host/PeImage.h"

namespace solvane::test {
namespace {

class WindowsFrei0rFilter : public ::testing::Test {
 protected:
  const std::vector<uint8_t> file_ = ReadModuleNamedBy("SOLVANE_WINDOWS_FREI0R");
  const host::PeImage image_{file_};
};

TEST_F(WindowsFrei0rFilter, IsA64BitDllExportingTheFrei0rEntryPointsOnly) {
  ExpectWin64DllExportingOnly(image_, {"f0r_construct", "f0r_deinit", "f0r_destruct",
                                      "f0r_get_param_info", "f0r_get_param_value",
                                      "f0r_get_plugin_info", "f0r_init", "f0r_set_param_value",
                                      "f0r_update"});
}

TEST_F(WindowsFrei0rFilter, ImportsOnlySystemDlls) {
  ExpectOnlySystemImports(image_);
}

}  // namespace
}  // namespace solvane::test
