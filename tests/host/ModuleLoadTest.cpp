// Loading a module: the entry point must be the module's own, and a module named without
// a folder is the file of that name in the working directory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "host/HostError.h"
#include "host/Module.h"

namespace solvane::host {
namespace {

namespace fs = std::filesystem;

TEST(ModuleLoad, AnEntryPointOnlyADependencyDefinesIsRefused) {
  try {
    Module module(SOLVANE_BORROWED_ENTRY_MODULE);
    ADD_FAILURE() << "the module was loaded with its library's entry point";
  } catch (const HostError& e) {
    EXPECT_NE(std::string(e.what()).find("does not export EntryPointFunc"), std::string::npos)
        << e.what();
  }
  const Module effect(SOLVANE_MODULE_PATH);
  EXPECT_NE(effect.EntryPoint(), nullptr);
}

TEST(ModuleLoad, ANameWithoutAFolderIsTheFileInTheWorkingDirectory) {
  const fs::path dir = fs::path(::testing::TempDir()) / "solvane_module_bare";
  fs::remove_all(dir);
  fs::create_directories(dir);
  fs::copy_file(SOLVANE_MODULE_PATH, dir / "bare_effect.so");
  const fs::path previous = fs::current_path();
  fs::current_path(dir);
  // Without a slash dlopen would search the library path and not find it here.
  EXPECT_NO_THROW(Module("bare_effect.so"));
  fs::current_path(previous);
}

}  // namespace
}  // namespace solvane::host
