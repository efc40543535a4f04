// A host's render threads ending while its main thread exits: glvnd's libEGL, finalised by
// exit(), frees the EGL record of every thread that still has one, and such a thread ending
// afterwards frees its record a second time. Before frames left their threads without a
// record, every run of this host ended in a heap-corruption abort.
#include <gtest/gtest.h>

#include <string>

#include "HostRunSupport.h"

namespace solvane::frei0r::test {
namespace {

TEST(FilterExit, ThreadsEndingWhileTheProcessExitsLeaveItsHeapIntact) {
  const std::string command = Quoted(SOLVANE_EXIT_RACE_HOST_PATH) + " " +
                              Quoted(SOLVANE_FREI0R_MODULE_PATH) + " " +
                              Quoted(SOLVANE_EXIT_MARKER_PATH) + " 8";
  constexpr int kRuns = 5;
  int abnormal = 0;
  std::string firstFailure;
  for (int i = 0; i < kRuns; ++i) {
    const HostRun run = Shell(command);
    if (run.code == 0) continue;
    if (abnormal++ == 0) firstFailure = "status " + std::to_string(run.code) + ": " + run.err;
  }
  EXPECT_EQ(abnormal, 0) << "of " << kRuns << " runs; the first: " << firstFailure;
}

}  // namespace
}  // namespace solvane::frei0r::test
