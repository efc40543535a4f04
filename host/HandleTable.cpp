#include "host/HandleTable.h"

#include <cstdlib>

namespace solvane::host {

HandleTable::~HandleTable() {
  for (auto& [handle, block] : blocks_) std::free(block->memory);
}

PF_Handle HandleTable::New(A_HandleSize size) {
  auto block = std::make_unique<Block>();
  // Zeroed, 16-byte aligned memory; calloc(0) may answer null, so ask for at least a byte.
  block->memory = std::calloc(1, size == 0 ? 1 : size_t(size));
  if (block->memory == nullptr) return nullptr;
  block->size = size;
  PF_Handle handle = &block->memory;
  std::lock_guard lock(mutex_);
  blocks_[handle] = std::move(block);
  return handle;
}

void* HandleTable::Lock(PF_Handle handle) {
  std::lock_guard lock(mutex_);
  const auto found = blocks_.find(handle);
  return found == blocks_.end() ? nullptr : found->second->memory;
}

void HandleTable::Unlock(PF_Handle) {}

void HandleTable::Dispose(PF_Handle handle) {
  std::lock_guard lock(mutex_);
  const auto found = blocks_.find(handle);
  if (found == blocks_.end()) return;
  std::free(found->second->memory);
  blocks_.erase(found);
}

A_HandleSize HandleTable::Size(PF_Handle handle) const {
  std::lock_guard lock(mutex_);
  const auto found = blocks_.find(handle);
  return found == blocks_.end() ? 0 : found->second->size;
}

size_t HandleTable::Live() const {
  std::lock_guard lock(mutex_);
  return blocks_.size();
}

}  // namespace solvane::host
