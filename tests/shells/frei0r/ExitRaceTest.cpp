// A host's render threads ending while its main thread exits: glvnd's libEGL, finalised by
// exit(), frees the EGL record of every thread that still has one, and such a thread ending
// afterwards frees its record a second time. Before frames left their threads without a
// record, every run of this host ended in a heap-corruption abort.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

struct HostExit {
  int status = -1;
  std::string output;
};

HostExit RunHost(const std::string& command) {
  HostExit run;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) run.output += buffer;
  run.status = pclose(pipe);
  return run;
}

TEST(FilterExit, ThreadsEndingWhileTheProcessExitsLeaveItsHeapIntact) {
  // The leak checker's report at exit is not what this looks at.
  const std::string command = std::string("ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" \"") +
                              SOLVANE_EXIT_RACE_HOST_PATH + "\" \"" + SOLVANE_FREI0R_MODULE_PATH +
                              "\" \"" + SOLVANE_EXIT_MARKER_PATH + "\" 8";
  constexpr int kRuns = 5;
  int abnormal = 0;
  std::string firstFailure;
  for (int i = 0; i < kRuns; ++i) {
    const HostExit run = RunHost(command);
    if (run.status == 0) continue;
    if (abnormal++ == 0) {
      firstFailure = "wait status " + std::to_string(run.status) + ": " + run.output;
    }
  }
  EXPECT_EQ(abnormal, 0) << "of " << kRuns << " runs; the first: " << firstFailure;
}

}  // namespace
