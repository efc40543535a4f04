// Thread-exit clean-ups: they run when a thread ends, but not once the process has begun to
// exit, when the libraries they would call into are about to be unloaded.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "core/platform/ThreadExit.h"

namespace solvane {
namespace {

// The file a clean-up creates when it runs; plain storage, still there during exit.
char marker[4096];

void SetMarker(const std::string& name) {
  const std::string path = ::testing::TempDir() + name;
  std::snprintf(marker, sizeof marker, "%s", path.c_str());
  std::filesystem::remove(path);
}

void CreateMarker(void*) {
  if (std::FILE* f = std::fopen(marker, "w")) std::fclose(f);
}

std::thread* lateThread = nullptr;

// Runs where a host's libraries are finalised, after every exit handler: the late thread
// ends only then, as a host's worker thread may while the main thread exits.
__attribute__((destructor)) void EndTheLateThread() {
  if (lateThread != nullptr) lateThread->join();
}

// Runs `child` in a child process and returns its exit status.
template <typename Child>
int InChild(Child&& child) {
  const pid_t pid = fork();
  if (pid == 0) {
    child();
    std::_Exit(99);  // not reached
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ThreadExit, ACleanUpRunsWhenItsThreadEnds) {
  SetMarker("thread_exit_ran");
  std::thread([] { RunAtThreadExit(&CreateMarker, nullptr); }).join();
  EXPECT_TRUE(std::filesystem::exists(marker));
}

TEST(ThreadExit, AThreadThatEndsWhileTheProcessExitsLeavesItsCleanUp) {
  SetMarker("thread_exit_during_exit");
  const int status = InChild([] {
    std::atomic<bool> registered{false};
    lateThread = new std::thread([&registered] {
      RunAtThreadExit(&CreateMarker, nullptr);
      registered = true;
      // Ends after the exit handlers; the join at finalisation waits for it.
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    });
    // As a render thread's first frame comes long before the host exits.
    while (!registered) std::this_thread::yield();
    std::exit(0);
  });
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(std::filesystem::exists(marker)) << "the clean-up ran during the process's exit";
}

}  // namespace
}  // namespace solvane
