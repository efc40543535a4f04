#include "host/ParamCheckouts.h"

namespace solvane::host {

void ParamCheckouts::CheckedOut(const PF_ParamDef* def, const ParamCheckout& checkout) {
  std::lock_guard lock(mutex_);
  outstanding_.emplace(def, checkout.index);
  history_.push_back(checkout);
}

void ParamCheckouts::CheckedIn(const PF_ParamDef* def) {
  std::lock_guard lock(mutex_);
  const auto found = outstanding_.find(def);
  if (found == outstanding_.end()) {
    ++stray_;
    return;
  }
  outstanding_.erase(found);
}

int ParamCheckouts::Outstanding() const {
  std::lock_guard lock(mutex_);
  return int(outstanding_.size());
}

int ParamCheckouts::StrayCheckins() const {
  std::lock_guard lock(mutex_);
  return stray_;
}

std::vector<ParamCheckout> ParamCheckouts::History() const {
  std::lock_guard lock(mutex_);
  return history_;
}

void ParamCheckouts::Clear() {
  std::lock_guard lock(mutex_);
  outstanding_.clear();
  history_.clear();
  stray_ = 0;
}

}  // namespace solvane::host
