// The memory suite: blocks from the host's heap, counted so a test can see what the
// plug-in did not give back. Freeing a block the host did not hand out is refused.
#include <cstdlib>
#include <mutex>
#include <unordered_map>

#include "Ledger.h"
#include "Suites.h"

namespace solvane::ofx_host {
namespace {

std::mutex blocksMutex;
std::unordered_map<void*, size_t> blocks;

OfxStatus Alloc(void* /*handle*/, size_t bytes, void** data) {
  if (data == nullptr) return kOfxStatErrValue;
  *data = nullptr;
  void* block = std::malloc(bytes == 0 ? 1 : bytes);
  if (block == nullptr) return kOfxStatErrMemory;
  {
    std::lock_guard lock(blocksMutex);
    blocks[block] = bytes;
  }
  Ledger::Get().AddCounts({.memoryBlocks = 1, .memoryBytes = bytes}, true);
  *data = block;
  return kOfxStatOK;
}

OfxStatus Free(void* data) {
  size_t bytes = 0;
  {
    std::lock_guard lock(blocksMutex);
    const auto found = blocks.find(data);
    if (found == blocks.end()) {
      Ledger::Get().Misuse("memoryFree of a block the memory suite did not allocate");
      return kOfxStatErrBadHandle;
    }
    bytes = found->second;
    blocks.erase(found);
  }
  std::free(data);
  Ledger::Get().AddCounts({.memoryBlocks = 1, .memoryBytes = bytes}, false);
  return kOfxStatOK;
}

constexpr OfxMemorySuiteV1 kSuite = {Alloc, Free};

}  // namespace

const OfxMemorySuiteV1& MemorySuite() {
  return kSuite;
}

}  // namespace solvane::ofx_host
