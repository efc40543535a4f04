// The cross-built frei0r filter solvane.dll read as a PE file: a 64-bit DLL that exports
// frei0r's entry points and nothing else, and imports only what Windows itself provides
// (no GLEW, libstdc++, libgcc or winpthread DLL to install beside it).
#include <gtest/gtest.h>


#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>

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
  EXPECT_EQ(image_.Machine(), host::kPeMachineAmd64);
  EXPECT_TRUE(image_.IsPe32Plus());
  EXPECT_NE(image_.Characteristics() & host::kPeFileDll, 0);
  std::vector<std::string> names = ExportedNames(image_);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"f0r_construct", "f0r_deinit", "f0r_destruct",
                                             "f0r_get_param_info", "f0r_get_param_value",
                                             "f0r_get_plugin_info", "f0r_init",
                                             "f0r_set_param_value", "f0r_update"}));
}

TEST_F(WindowsFrei0rFilter, ImportsOnlySystemDlls) {
  const std::set<std::string> system = {"kernel32.dll", "user32.dll", "gdi32.dll",
                                        "opengl32.dll", "msvcrt.dll"};
  std::set<std::string> imported;
  for (std::string dll : ImportedDlls(image_)) {
    std::transform(dll.begin(), dll.end(), dll.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    imported.insert(dll);
  }
  for (const std::string& dll : imported) EXPECT_TRUE(system.count(dll)) << dll;
  EXPECT_TRUE(imported.count("opengl32.dll"));
}

}  // namespace
}  // namespace solvane::test
