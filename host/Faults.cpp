#include "host/Faults.h"

#include <algorithm>

namespace solvane::host {

void CallLog::Record(const std::string& call) {
  std::lock_guard lock(mutex_);
  calls_.push_back(call);
}

std::vector<std::string> CallLog::Calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

size_t CallLog::Count(const std::string& call) const {
  std::lock_guard lock(mutex_);
  return size_t(std::count(calls_.begin(), calls_.end(), call));
}

void CallLog::Clear() {
  std::lock_guard lock(mutex_);
  calls_.clear();
}

void FaultPlan::Fail(const std::string& call, int occurrence, PF_Err code) {
  std::lock_guard lock(mutex_);
  rules_[call].push_back({occurrence == 0 ? 0 : seen_[call] + occurrence, code});
}

void FaultPlan::Clear() {
  std::lock_guard lock(mutex_);
  rules_.clear();
}

PF_Err FaultPlan::Check(const std::string& call) {
  std::lock_guard lock(mutex_);
  const int count = ++seen_[call];
  const auto found = rules_.find(call);
  if (found == rules_.end()) return PF_Err_NONE;
  for (const Rule& rule : found->second) {
    if (rule.occurrence == 0 || rule.occurrence == count) return rule.code;
  }
  return PF_Err_NONE;
}

}  // namespace solvane::host
