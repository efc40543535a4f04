#include "host/RenderPool.h"

#include <stdexcept>

#include "host/HostError.h"

namespace solvane::host {

RenderPool::RenderPool(Host& host, int threads) : host_(host) {
  if (threads < 1) throw std::invalid_argument("a render pool needs at least one thread");
  threads_.reserve(size_t(threads));
  try {
    for (int i = 0; i < threads; ++i) threads_.emplace_back([this] { Run(); });
  } catch (...) {
    Shutdown();  // the threads that did start must not outlive a pool that failed
    throw;
  }
}

RenderPool::~RenderPool() {
  Shutdown();
}

std::future<FrameResult> RenderPool::Submit(std::shared_ptr<const World> input,
                                            FrameRequest request) {
  if (input == nullptr) throw std::invalid_argument("a frame needs an input world");
  std::lock_guard lock(mutex_);
  if (stopping_) throw HostError("the render pool has been shut down");
  queue_.push_back(Job{std::move(input), std::move(request), {}});
  std::future<FrameResult> future = queue_.back().result.get_future();
  wake_.notify_one();
  return future;
}

void RenderPool::Shutdown() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread& thread : threads_) {
    if (!thread.joinable()) continue;
    thread.join();
    ++joined_;
  }
}

// Waits for a job; false once the pool is stopping and the queue is empty.
bool RenderPool::NextJob(Job& job) {
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
  if (queue_.empty()) return false;
  job = std::move(queue_.front());
  queue_.pop_front();
  return true;
}

void RenderPool::Run() {
  ++started_;
  Job job;
  while (NextJob(job)) {
    try {
      job.result.set_value(RenderFrameThroughModule(host_, *job.input, job.request));
    } catch (...) {
      job.result.set_exception(std::current_exception());
    }
  }
}

}  // namespace solvane::host
