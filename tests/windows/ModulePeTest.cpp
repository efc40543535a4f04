// The cross-built Windows module read as a PE file: the machine and file kind After
// Effects loads, its one export, imports Windows itself provides, and the registration
// resource and manifest the host reads before loading it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>

#include "PeTables.h"
#include "host/PeImage.h"
#include "host/PeResources.h"
#include "host/Registration.h"
#include "shells/ae/resources/RegistrationResource.h"

namespace solvane::test {
namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  EXPECT_TRUE(file) << "cannot open " << path;
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

class WindowsModule : public ::testing::Test {
 protected:
  const std::vector<uint8_t> file_ = ReadModuleNamedBy("SOLVANE_WINDOWS_MODULE");
  const host::PeImage image_{file_};
};

TEST_F(WindowsModule, IsA64BitDll) {
  EXPECT_EQ(image_.Machine(), host::kPeMachineAmd64);
  EXPECT_TRUE(image_.IsPe32Plus());
  EXPECT_NE(image_.Characteristics() & host::kPeFileDll, 0);
}

TEST_F(WindowsModule, ExportsTheEntryPointOnly) {
  EXPECT_EQ(ExportedNames(image_), std::vector<std::string>{"EntryPointFunc"});
}

// Nothing beside the module has to be installed: no libstdc++, libgcc, winpthread or
// glew32 DLL, only the system's own and the C runtime every Windows has.
TEST_F(WindowsModule, ImportsOnlySystemDlls) {
  const std::set<std::string> system = {"kernel32.dll", "user32.dll",  "gdi32.dll",
                                        "opengl32.dll", "shell32.dll", "msvcrt.dll"};
  std::set<std::string> imported;
  for (const std::string& dll : ImportedDlls(image_)) imported.insert(Lower(dll));
  for (const std::string& dll : imported) EXPECT_TRUE(system.count(dll)) << dll;
  EXPECT_TRUE(imported.count("opengl32.dll"));
  EXPECT_TRUE(imported.count("kernel32.dll"));
}

TEST_F(WindowsModule, CarriesTheSameRegistrationBytesAsTheLinuxModule) {
  const std::vector<uint8_t> pipl = host::ReadPeResource(file_, "PIPL", 16000, 1033);
  EXPECT_EQ(pipl, EncodeRegistrationResource());
  EXPECT_EQ(pipl, host::ReadElfSection(SOLVANE_MODULE_PATH, ".pipl"));
  EXPECT_EQ(host::ParseRegistrationResource(pipl).entryPoint, "EntryPointFunc");
}

TEST_F(WindowsModule, CarriesTheManifestAsInvokerWithoutUiAccess) {
  const std::vector<uint8_t> manifest = host::ReadPeResource(file_, "#24", 2, 1033);
  const std::vector<uint8_t> source =
      ReadFile(SOLVANE_SOURCE_DIR "/src/shells/ae/resources/Solvane.manifest");
  const std::string text(manifest.begin(), manifest.end());
  EXPECT_EQ(text, std::string(source.begin(), source.end()));
  EXPECT_NE(text.find(R"(level="asInvoker")"), std::string::npos);
  EXPECT_NE(text.find(R"(uiAccess="false")"), std::string::npos);
}

}  // namespace
}  // namespace solvane::test
