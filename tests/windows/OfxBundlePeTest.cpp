// The cross-built OpenFX plug-in read as a PE file, where the bundle puts it: a 64-bit DLL
// under Solvane.ofx.bundle/Contents/Win64/ that exports the two OpenFX entry points and
// nothing else, and imports only what Windows itself provides (no GLEW, libstdc++, libgcc
// or winpthread DLL to install beside it).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "PeTables.h"
#include "host/PeImage.h"

namespace solvane::test {
namespace {

constexpr const char* kVariable = "SOLVANE_WINDOWS_OFX";

class WindowsOfxPlugin : public ::testing::Test {
 protected:
  const std::vector<uint8_t> file_ = ReadModuleNamedBy(kVariable);
  const host::PeImage image_{file_};
};

TEST_F(WindowsOfxPlugin, IsA64BitDllExportingTheTwoOpenFxEntryPointsOnly) {
  EXPECT_EQ(image_.Machine(), host::kPeMachineAmd64);
  EXPECT_TRUE(image_.IsPe32Plus());
  EXPECT_NE(image_.Characteristics() & host::kPeFileDll, 0);
  std::vector<std::string> names = ExportedNames(image_);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"OfxGetNumberOfPlugins", "OfxGetPlugin"}));
}

TEST_F(WindowsOfxPlugin, ImportsOnlySystemDlls) {
  const std::set<std::string> system = {"kernel32.dll", "user32.dll", "gdi32.dll", "opengl32.dll",
                                        "msvcrt.dll"};
  std::set<std::string> imported;
  for (std::string dll : ImportedDlls(image_)) {
    std::transform(dll.begin(), dll.end(), dll.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    imported.insert(dll);
  }
  for (const std::string& dll : imported) EXPECT_TRUE(system.count(dll)) << dll;
  EXPECT_TRUE(imported.count("opengl32.dll"));
}

// Hosts find a plug-in only as Contents/Win64/<bundle name less .bundle> inside its bundle,
// beside the bundle's Info.plist.
TEST(WindowsOfxBundle, HoldsThePluginUnderItsOwnNameInTheWin64Folder) {
  const char* named = std::getenv(kVariable);
  ASSERT_TRUE(named != nullptr && *named != '\0') << kVariable << " names no plug-in";
  const std::filesystem::path binary = std::filesystem::absolute(named);
  const std::filesystem::path contents = binary.parent_path().parent_path();
  EXPECT_EQ(binary.filename(), "Solvane.ofx");
  EXPECT_EQ(binary.parent_path().filename(), "Win64");
  EXPECT_EQ(contents.filename(), "Contents");
  EXPECT_EQ(contents.parent_path().filename(), "Solvane.ofx.bundle");
  EXPECT_TRUE(std::filesystem::is_regular_file(contents / "Info.plist")) << contents;
}

}  // namespace
}  // namespace solvane::test
