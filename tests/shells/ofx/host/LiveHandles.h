// The objects the host has handed out as opaque handles, so that every suite call can
// tell a live handle of the right kind from a stale, foreign or null one and answer
// kOfxStatErrBadHandle instead of following a bad pointer.
#pragma once

#include <mutex>
#include <unordered_set>

namespace solvane::ofx_host {

template <typename T>
class LiveHandles {
 public:
  static void Add(const T* object) {
    std::lock_guard lock(mutex_);
    live_.insert(object);
  }
  static void Remove(const T* object) {
    std::lock_guard lock(mutex_);
    live_.erase(object);
  }
  // The object behind a handle, or null when the handle is not one of T's live objects.
  static T* Find(const void* handle) {
    std::lock_guard lock(mutex_);
    return live_.count(static_cast<const T*>(handle)) != 0
               ? const_cast<T*>(static_cast<const T*>(handle))
               : nullptr;
  }

 private:
  inline static std::mutex mutex_;
  inline static std::unordered_set<const T*> live_;
};

// Registers an object for its lifetime; a member of the object it registers.
template <typename T>
class LiveHandle {
 public:
  explicit LiveHandle(const T* object) : object_(object) { LiveHandles<T>::Add(object); }
  ~LiveHandle() { LiveHandles<T>::Remove(object_); }
  LiveHandle(const LiveHandle&) = delete;
  LiveHandle& operator=(const LiveHandle&) = delete;

 private:
  const T* object_;
};

}  // namespace solvane::ofx_host
