#include "PeTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

namespace solvane::test {

std::vector<uint8_t> ReadModuleNamedBy(const char* variable) {
  const char* path = std::getenv(variable);
  if (path == nullptr || *path == '\0') {
    ADD_FAILURE() << variable << " names no module: run scripts/test-windows.sh";
    return {};
  }
  std::ifstream file(path, std::ios::binary);
  EXPECT_TRUE(file) << "cannot open " << path;
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

namespace {

constexpr unsigned kDelayImportDirectory = 13;
constexpr uint32_t kImportDescriptorSize = 20;
constexpr uint32_t kDelayDescriptorSize = 32;

// Both tables are arrays of fixed-size records ended by one whose name field is zero.
std::vector<std::string> NamesOfDescriptors(const host::PeImage& image, unsigned directory,
                                            uint32_t recordSize, uint32_t nameAt) {
  std::vector<std::string> names;
  const host::PeDirectory table = image.Directory(directory);
  if (table.rva == 0) return names;
  for (uint32_t at = table.rva;; at += recordSize) {
    const uint32_t name = image.Read<uint32_t>(at + nameAt);
    if (name == 0) return names;
    names.push_back(image.String(name));
  }
}

}  // namespace

std::vector<std::string> ExportedNames(const host::PeImage& image) {
  std::vector<std::string> names;
  const host::PeDirectory table = image.Directory(host::kPeExportDirectory);
  if (table.rva == 0) return names;
  const uint32_t count = image.Read<uint32_t>(table.rva + 24);
  const uint32_t nameTable = image.Read<uint32_t>(table.rva + 32);
  for (uint32_t i = 0; i < count; ++i) {
    names.push_back(image.String(image.Read<uint32_t>(nameTable + i * 4)));
  }
  return names;
}

std::vector<std::string> ImportedDlls(const host::PeImage& image) {
  std::vector<std::string> dlls =
      NamesOfDescriptors(image, host::kPeImportDirectory, kImportDescriptorSize, 12);
  for (std::string& dll :
       NamesOfDescriptors(image, kDelayImportDirectory, kDelayDescriptorSize, 4)) {
    dlls.push_back(dll);
  }
  return dlls;
}

void ExpectWin64DllExportingOnly(const host::PeImage& image, std::vector<std::string> names) {
  EXPECT_EQ(image.Machine(), host::kPeMachineAmd64);
  EXPECT_TRUE(image.IsPe32Plus());
  EXPECT_NE(image.Characteristics() & host::kPeFileDll, 0);
  std::vector<std::string> exported = ExportedNames(image);
  std::sort(exported.begin(), exported.end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(exported, names);
}

void ExpectOnlySystemImports(const host::PeImage& image) {
  const std::set<std::string> system = {"kernel32.dll", "user32.dll", "gdi32.dll",
                                        "opengl32.dll", "msvcrt.dll"};
  std::set<std::string> imported;
  for (std::string dll : ImportedDlls(image)) {
    std::transform(dll.begin(), dll.end(), dll.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    imported.insert(dll);
  }
  for (const std::string& dll : imported) EXPECT_TRUE(system.count(dll)) << dll;
  EXPECT_TRUE(imported.count("opengl32.dll"));
}

}  // namespace solvane::test
