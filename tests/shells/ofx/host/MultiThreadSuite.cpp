// The multithread suite: multiThread runs the function on real threads (std::thread),
// each knowing its index; mutexes are recursive with an initial lock count, as the
// standard describes them. A call from a spawned thread runs its work on that thread.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "Ledger.h"
#include "LiveHandles.h"
#include "MultiThreadSuite.h"
#include "Suites.h"

namespace solvane::ofx_host {
namespace {

std::atomic<unsigned int> threadCount{std::max(1u, std::thread::hardware_concurrency())};
thread_local bool spawned = false;
thread_local unsigned int threadIndex = 0;

OfxStatus MultiThread(OfxThreadFunctionV1 function, unsigned int threads, void* argument) {
  if (function == nullptr || threads == 0) return kOfxStatErrValue;
  if (spawned || threads == 1) {
    for (unsigned int i = 0; i < threads; ++i) function(i, threads, argument);
    return kOfxStatOK;
  }
  std::vector<std::thread> pool;
  pool.reserve(threads);
  OfxStatus status = kOfxStatOK;
  for (unsigned int i = 0; i < threads; ++i) {
    try {
      pool.emplace_back([=] {
        spawned = true;
        threadIndex = i;
        function(i, threads, argument);
      });
    } catch (const std::system_error&) {
      // The system has no thread for this index: the ones started finish, the call fails.
      status = kOfxStatFailed;
      break;
    }
  }
  for (std::thread& thread : pool) thread.join();
  return status;
}

OfxStatus NumCpus(unsigned int* cpus) {
  if (cpus == nullptr) return kOfxStatErrValue;
  *cpus = threadCount.load();
  return kOfxStatOK;
}

OfxStatus Index(unsigned int* index) {
  if (index == nullptr) return kOfxStatErrValue;
  *index = spawned ? threadIndex : 0;
  return kOfxStatOK;
}

int IsSpawned() {
  return spawned ? 1 : 0;
}

struct HostMutex {
  std::mutex mutex;
  std::condition_variable released;
  std::thread::id owner;
  int count = 0;
  LiveHandle<HostMutex> live{this};
};

HostMutex* Find(OfxMutexHandle handle) {
  return LiveHandles<HostMutex>::Find(handle);
}

OfxStatus MutexCreate(OfxMutexHandle* handle, int lockCount) {
  if (handle == nullptr || lockCount < 0) return kOfxStatErrValue;
  auto* m = new HostMutex;
  if (lockCount > 0) m->owner = std::this_thread::get_id(), m->count = lockCount;
  Ledger::Get().AddCounts({.mutexes = 1}, true);
  *handle = reinterpret_cast<OfxMutexHandle>(m);
  return kOfxStatOK;
}

OfxStatus MutexDestroy(const OfxMutexHandle handle) {
  HostMutex* m = Find(handle);
  if (m == nullptr) return kOfxStatErrBadHandle;
  delete m;
  Ledger::Get().AddCounts({.mutexes = 1}, false);
  return kOfxStatOK;
}

OfxStatus MutexLock(const OfxMutexHandle handle) {
  HostMutex* m = Find(handle);
  if (m == nullptr) return kOfxStatErrBadHandle;
  std::unique_lock lock(m->mutex);
  const std::thread::id self = std::this_thread::get_id();
  m->released.wait(lock, [&] { return m->count == 0 || m->owner == self; });
  m->owner = self;
  ++m->count;
  return kOfxStatOK;
}

OfxStatus MutexUnlock(const OfxMutexHandle handle) {
  HostMutex* m = Find(handle);
  if (m == nullptr) return kOfxStatErrBadHandle;
  std::unique_lock lock(m->mutex);
  if (m->count == 0 || m->owner != std::this_thread::get_id()) {
    Ledger::Get().Misuse("mutexUnLock of a mutex this thread does not hold");
    return kOfxStatErrValue;
  }
  if (--m->count == 0) {
    m->owner = {};
    m->released.notify_all();
  }
  return kOfxStatOK;
}

OfxStatus MutexTryLock(const OfxMutexHandle handle) {
  HostMutex* m = Find(handle);
  if (m == nullptr) return kOfxStatErrBadHandle;
  std::unique_lock lock(m->mutex);
  const std::thread::id self = std::this_thread::get_id();
  if (m->count != 0 && m->owner != self) return kOfxStatFailed;
  m->owner = self;
  ++m->count;
  return kOfxStatOK;
}

constexpr OfxMultiThreadSuiteV1 kSuite = {MultiThread, NumCpus,     Index,
                                          IsSpawned,   MutexCreate, MutexDestroy,
                                          MutexLock,   MutexUnlock, MutexTryLock};

}  // namespace

void SetHostThreadCount(unsigned int threads) {
  threadCount = std::max(1u, threads);
}

unsigned int HostThreadCount() {
  return threadCount.load();
}

const OfxMultiThreadSuiteV1& MultiThreadSuite() {
  return kSuite;
}

}  // namespace solvane::ofx_host
