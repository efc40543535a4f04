// solvane-render as a child process for the tests that watch it from outside: its exit
// code or signal, its stderr, how long it ran and how much memory it used at its peak.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace solvane::cli::testing {

struct CliProcessOptions {
  std::string workingDirectory;  // empty: the test's own
  std::vector<std::string> env;  // NAME=VALUE added to the test's environment
  std::string program;           // empty: the built solvane-render
  bool builtModule = true;       // passes --module with the built module first
};

struct CliResult {
  int code = -1;  // exit code; -1 when killed by a signal
  std::string err;
  double seconds = 0;
  long peakKilobytes = 0;  // the child's peak resident memory
};

// Starts solvane-render with `args` (no shell: the strings are the arguments as they
// are), stderr going to `errPath`; returns its process id.
pid_t StartCli(const std::vector<std::string>& args, const std::string& errPath,
               const CliProcessOptions& options = {});

// Waits for a started process and collects its result; one still running after
// `timeoutSeconds` is killed and the test fails, so that no run can hang the suite.
CliResult WaitCli(pid_t pid, const std::string& errPath, double timeoutSeconds = 120);

// Starts and waits.
CliResult RunCli(const std::vector<std::string>& args, const CliProcessOptions& options = {});

// A temporary folder of this test process's own, emptied.
std::string TestFolder(const std::string& name);

// The bytes of a file; empty when it cannot be read.
std::string FileBytes(const std::string& path);

// Files in `folder` whose name starts with ".partial-".
int TemporaryFilesIn(const std::string& folder);

}  // namespace solvane::cli::testing
