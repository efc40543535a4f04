// Memory handles the host hands out (PF_Handle: a pointer to a pointer to the block).
#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "AE_Effect.h"

namespace solvane::host {

class HandleTable {
 public:
  HandleTable() = default;
  HandleTable(const HandleTable&) = delete;
  HandleTable& operator=(const HandleTable&) = delete;
  ~HandleTable();

  PF_Handle New(A_HandleSize size);
  void* Lock(PF_Handle handle);  // null for a handle this table does not know
  void Unlock(PF_Handle handle);
  void Dispose(PF_Handle handle);
  A_HandleSize Size(PF_Handle handle) const;
  size_t Live() const;  // handles not yet disposed

 private:
  struct Block {
    void* memory = nullptr;  // first member: a PF_Handle points here
    A_HandleSize size = 0;
  };
  mutable std::mutex mutex_;
  std::map<PF_Handle, std::unique_ptr<Block>> blocks_;
};

}  // namespace solvane::host
