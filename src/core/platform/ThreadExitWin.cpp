#include <windows.h>

#include <utility>
#include <vector>

#include "core/platform/ThreadExit.h"

namespace solvane {
namespace {

using ThreadExitList = std::vector<std::pair<ThreadExitFunction, void*>>;

// Windows calls this on a thread that ends with a list in the slot, and for every such
// thread when the slot is freed.
void WINAPI RunThreadExitList(void* value) {
  auto* list = static_cast<ThreadExitList*>(value);
  if (list == nullptr) return;
  while (!list->empty()) {
    const auto [function, data] = list->back();
    list->pop_back();
    function(data);
  }
  delete list;
}

// One slot per module, freed when the module is unloaded.
class ThreadExitSlot {
 public:
  ThreadExitSlot() : index_(FlsAlloc(&RunThreadExitList)) {}
  ~ThreadExitSlot() {
    if (index_ != FLS_OUT_OF_INDEXES) FlsFree(index_);
  }
  ThreadExitSlot(const ThreadExitSlot&) = delete;
  ThreadExitSlot& operator=(const ThreadExitSlot&) = delete;

  // The calling thread's list, made on first use; null when Windows has no slot left.
  ThreadExitList* List() {
    if (index_ == FLS_OUT_OF_INDEXES) return nullptr;
    auto* list = static_cast<ThreadExitList*>(FlsGetValue(index_));
    if (list == nullptr) {
      list = new ThreadExitList;
      FlsSetValue(index_, list);
    }
    return list;
  }

 private:
  DWORD index_;
};

}  // namespace

void RunAtThreadExit(ThreadExitFunction function, void* data) {
  static ThreadExitSlot slot;
  // Without a slot (thousands already in use) the clean-up cannot be arranged, and the
  // thread's resources stay until the process ends.
  if (ThreadExitList* list = slot.List()) list->emplace_back(function, data);
}

}  // namespace solvane
