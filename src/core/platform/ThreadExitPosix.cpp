#include <cstdlib>
#include <mutex>
#include <utility>
#include <vector>

#include "core/platform/ThreadExit.h"

namespace solvane {
namespace {

// Once the process has begun to exit, the GL libraries are about to be unloaded by the
// main thread (exit() runs the libraries' finalisers after the exit handlers), while host
// threads may still be ending: a clean-up that ran then would call into a library being
// torn down. So the first exit handler marks the process as exiting, waiting for any
// clean-up under way, and later clean-ups leave their resources to the operating system.
// Both are plain objects that need no destruction, so they stay usable during exit.
std::mutex cleanUpMutex;
bool processExiting = false;

void MarkProcessExiting() {
  std::lock_guard lock(cleanUpMutex);
  processExiting = true;
}

void WatchForProcessExit() {
  static const bool registered = std::atexit(&MarkProcessExiting) == 0;
  (void)registered;
}

struct ThreadExitList {
  std::vector<std::pair<ThreadExitFunction, void*>> entries;
  ~ThreadExitList() {
    std::lock_guard lock(cleanUpMutex);
    if (processExiting) return;
    while (!entries.empty()) {
      const auto [function, data] = entries.back();
      entries.pop_back();
      function(data);
    }
  }
};

thread_local ThreadExitList threadExitList;

}  // namespace

void RunAtThreadExit(ThreadExitFunction function, void* data) {
  WatchForProcessExit();
  threadExitList.entries.emplace_back(function, data);
}

}  // namespace solvane
