// The cross-built OpenFX plug-in read as a PE file, where the bundle puts it: a 64-bit DLL
// under Solvane.ofx.bundle/Contents/Win64/ that exports the two OpenFX entry points and
// nothing else, and imports only what Windows itself provides (no GLEW, libstdc++, libgcc
// or winpthread DLL to install beside it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

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
  ExpectWin64DllExportingOnly(image_, {"OfxGetNumberOfPlugins", "OfxGetPlugin"});
}

TEST_F(WindowsOfxPlugin, ImportsOnlySystemDlls) {
  ExpectOnlySystemImports(image_);
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
