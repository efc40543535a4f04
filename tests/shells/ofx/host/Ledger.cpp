#include "Ledger.h"

#include <cstdio>
#include <utility>

namespace solvane::ofx_host {

Ledger& Ledger::Get() {
  static Ledger ledger;
  return ledger;
}

LedgerCounts Ledger::Counts() const {
  std::lock_guard lock(mutex_);
  return counts_;
}

void Ledger::AddCounts(const LedgerCounts& d, bool add) {
  std::lock_guard lock(mutex_);
  const auto apply = [add](size_t& total, size_t n) { total = add ? total + n : total - n; };
  apply(counts_.memoryBlocks, d.memoryBlocks);
  apply(counts_.memoryBytes, d.memoryBytes);
  apply(counts_.imageMemoryBlocks, d.imageMemoryBlocks);
  apply(counts_.images, d.images);
  apply(counts_.mutexes, d.mutexes);
}

void Ledger::Message(HostMessage message) {
  std::lock_guard lock(mutex_);
  if (echo_) {
    std::fprintf(stderr, "%s: %s\n", message.type.c_str(), message.text.c_str());
  }
  messages_.push_back(std::move(message));
}

std::vector<HostMessage> Ledger::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

void Ledger::ClearMessages() {
  std::lock_guard lock(mutex_);
  messages_.clear();
}

void Ledger::EchoMessages(bool echo) {
  std::lock_guard lock(mutex_);
  echo_ = echo;
}

void Ledger::Misuse(const std::string& what) {
  std::lock_guard lock(mutex_);
  misuses_.push_back(what);
}

std::vector<std::string> Ledger::Misuses() const {
  std::lock_guard lock(mutex_);
  return misuses_;
}

void Ledger::ClearMisuses() {
  std::lock_guard lock(mutex_);
  misuses_.clear();
}

}  // namespace solvane::ofx_host
