// The pixel buffers one f0r_update call works in. MLT calls one instance from several
// threads at once when it slices a frame (each call gets a horizontal band through its own
// pointers), so every call takes buffers of its own from the instance's pool and gives
// them back when it ends; one call at a time keeps reusing one pair.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace solvane::frei0r {

struct FrameBuffers {
  std::vector<uint8_t> input;   // A, R, G, B
  std::vector<uint8_t> output;  // A, R, G, B
};

class ScratchPool;

// Buffers on loan from a pool for the lifetime of this object.
class ScratchLease {
 public:
  ScratchLease(ScratchPool& pool, std::unique_ptr<FrameBuffers> buffers)
      : pool_(pool), buffers_(std::move(buffers)) {}
  ~ScratchLease();
  ScratchLease(const ScratchLease&) = delete;
  ScratchLease& operator=(const ScratchLease&) = delete;

  FrameBuffers& operator*() { return *buffers_; }
  FrameBuffers* operator->() { return buffers_.get(); }

 private:
  ScratchPool& pool_;
  std::unique_ptr<FrameBuffers> buffers_;
};

class ScratchPool {
 public:
  explicit ScratchPool(size_t bytesPerBuffer) : bytes_(bytesPerBuffer) {}

  // Free buffers if any, else newly allocated ones; safe from any number of threads.
  ScratchLease Take();

 private:
  friend class ScratchLease;
  void Give(std::unique_ptr<FrameBuffers> buffers);

  size_t bytes_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<FrameBuffers>> free_;
};

}  // namespace solvane::frei0r
