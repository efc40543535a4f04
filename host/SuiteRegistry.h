// The suites the stand-in host offers through its SP Basic suite, by (name, version), with
// a reference count per suite so tests can check that every acquire was released.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace solvane::host {

class SuiteRegistry {
 public:
  using Key = std::pair<std::string, int32_t>;

  void Offer(const std::string& name, int32_t version, const void* suite);
  // A withheld suite is refused as if the host did not have it.
  void Withhold(const std::string& name, int32_t version);

  // 0 and the suite, or a non-zero SP error when the pair is unknown or withheld.
  int32_t Acquire(const std::string& name, int32_t version, const void** suite);
  int32_t Release(const std::string& name, int32_t version);

  int AcquireCount(const std::string& name, int32_t version) const;
  // Suites acquired more often than released (or released more often), with the difference.
  std::map<Key, int> Unbalanced() const;

 private:
  mutable std::mutex mutex_;
  std::map<Key, const void*> offered_;
  std::set<Key> withheld_;
  std::map<Key, int> outstanding_;
  std::map<Key, int> acquired_;
};

}  // namespace solvane::host
