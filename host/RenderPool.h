// Host render threads: frames (pre-render + smart render pairs) handed to a pool of
// threads run concurrently, as After Effects renders with threaded rendering. Shutting the
// pool down ends its threads, which runs the effect's per-thread clean-up on each of them.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "host/FrameRender.h"

namespace solvane::host {

class RenderPool {
 public:
  // Starts `threads` render threads; throws std::invalid_argument below 1.
  RenderPool(Host& host, int threads);
  // Shuts down.
  ~RenderPool();
  RenderPool(const RenderPool&) = delete;
  RenderPool& operator=(const RenderPool&) = delete;

  // Queues one frame for the next free thread. The input is shared by the frames that use
  // it and must not change until they are done. Throws HostError after Shutdown.
  std::future<FrameResult> Submit(std::shared_ptr<const World> input, FrameRequest request);

  // Lets the queued frames finish, then ends and joins every thread. Safe to call twice.
  void Shutdown();

  int ThreadCount() const { return int(threads_.size()); }
  int ThreadsStarted() const { return started_.load(); }
  // Threads that have ended and been joined: their thread-local clean-up has completed.
  int ThreadsJoined() const { return joined_.load(); }

 private:
  struct Job {
    std::shared_ptr<const World> input;
    FrameRequest request;
    std::promise<FrameResult> result;
  };
  void Run();
  bool NextJob(Job& job);

  Host& host_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> queue_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
  std::atomic<int> started_{0};
  std::atomic<int> joined_{0};
};

}  // namespace solvane::host
