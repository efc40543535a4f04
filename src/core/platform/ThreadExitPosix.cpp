#include <utility>
#include <vector>

#include "core/platform/ThreadExit.h"

namespace solvane {
namespace {

struct ThreadExitList {
  std::vector<std::pair<ThreadExitFunction, void*>> entries;
  ~ThreadExitList() {
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
  threadExitList.entries.emplace_back(function, data);
}

}  // namespace solvane
