// Which module solvane-render loads: without --module the one beside its own executable,
// however it was started and wherever it stands; with a bare --module name the file of that
// name in the working directory, never one found by a library search.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/tools/CliProcess.h"

namespace solvane::cli {
namespace {

namespace fs = std::filesystem;
using testing::CliProcessOptions;
using testing::CliResult;
using testing::RunCli;
using testing::TestFolder;

// A file with the module's name that is no module: loading it would fail (or worse, run it).
void WriteDecoy(const std::string& path) {
  std::ofstream(path) << "not a module";
}

TEST(ModuleLocation, TheDefaultModuleIsTheOneBesideTheExecutableWhereverTheToolRuns) {
  const std::string decoyDir = TestFolder("decoy");
  WriteDecoy(decoyDir + "/Brindel's_Solvane.so");
  const std::string bin = fs::path(SOLVANE_RENDER_PATH).parent_path().string();
  const char* oldPath = std::getenv("PATH");
  const std::string savedPath = oldPath ? oldPath : "";
  // Started through PATH, as a user types it: argv[0] holds no folder.
  setenv("PATH", (bin + ":" + savedPath).c_str(), 1);
  for (const std::string& where : {std::string("/"), decoyDir}) {
    CliProcessOptions options;
    options.builtModule = false;
    options.program = "solvane-render";
    options.workingDirectory = where;
    const CliResult run = RunCli({"--info"}, options);
    EXPECT_EQ(run.code, 0) << where << ": " << run.err;
  }
  setenv("PATH", savedPath.c_str(), 1);
}

TEST(ModuleLocation, ABareModuleNameIsTheFileInTheWorkingDirectory) {
  const std::string here = TestFolder("bare_here");
  const std::string elsewhere = TestFolder("bare_library_path");
  fs::copy_file(SOLVANE_MODULE_PATH, here + "/effect.so");
  WriteDecoy(elsewhere + "/effect.so");
  CliProcessOptions options;
  options.builtModule = false;
  options.workingDirectory = here;
  options.env = {"LD_LIBRARY_PATH=" + elsewhere};
  const CliResult run = RunCli({"--module", "effect.so", "--info"}, options);
  EXPECT_EQ(run.code, 0) << run.err;
}

}  // namespace
}  // namespace solvane::cli
