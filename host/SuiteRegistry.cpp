#include "host/SuiteRegistry.h"

namespace solvane::host {

namespace {
constexpr int32_t kSuiteNotFound = 0x53214664;  // 'S!Fd'
}

void SuiteRegistry::Offer(const std::string& name, int32_t version, const void* suite) {
  std::lock_guard lock(mutex_);
  offered_[{name, version}] = suite;
}

void SuiteRegistry::Withhold(const std::string& name, int32_t version) {
  std::lock_guard lock(mutex_);
  withheld_.insert({name, version});
}

int32_t SuiteRegistry::Acquire(const std::string& name, int32_t version, const void** suite) {
  std::lock_guard lock(mutex_);
  const Key key{name, version};
  const auto found = offered_.find(key);
  if (found == offered_.end() || withheld_.count(key) != 0) {
    if (suite != nullptr) *suite = nullptr;
    return kSuiteNotFound;
  }
  *suite = found->second;
  ++outstanding_[key];
  ++acquired_[key];
  return 0;
}

int32_t SuiteRegistry::Release(const std::string& name, int32_t version) {
  std::lock_guard lock(mutex_);
  const Key key{name, version};
  if (offered_.count(key) == 0) return kSuiteNotFound;
  --outstanding_[key];
  return 0;
}

int SuiteRegistry::AcquireCount(const std::string& name, int32_t version) const {
  std::lock_guard lock(mutex_);
  const auto found = acquired_.find({name, version});
  return found == acquired_.end() ? 0 : found->second;
}

std::map<SuiteRegistry::Key, int> SuiteRegistry::Unbalanced() const {
  std::lock_guard lock(mutex_);
  std::map<Key, int> out;
  for (const auto& [key, count] : outstanding_) {
    if (count != 0) out[key] = count;
  }
  return out;
}

}  // namespace solvane::host
