#include "shells/frei0r/FrameScratch.h"

namespace solvane::frei0r {

ScratchLease::~ScratchLease() {
  pool_.Give(std::move(buffers_));
}

ScratchLease ScratchPool::Take() {
  {
    std::lock_guard lock(mutex_);
    if (!free_.empty()) {
      std::unique_ptr<FrameBuffers> buffers = std::move(free_.back());
      free_.pop_back();
      return ScratchLease(*this, std::move(buffers));
    }
  }
  // Allocated outside the lock: a band of a large frame takes a while to clear.
  auto buffers = std::make_unique<FrameBuffers>();
  buffers->input.resize(bytes_);
  buffers->output.resize(bytes_);
  return ScratchLease(*this, std::move(buffers));
}

// The pool keeps every pair it has made: a host that slices keeps slicing, and the pool
// never holds more pairs than calls that once ran at the same time.
void ScratchPool::Give(std::unique_ptr<FrameBuffers> buffers) {
  if (!buffers) return;
  std::lock_guard lock(mutex_);
  free_.push_back(std::move(buffers));
}

}  // namespace solvane::frei0r
