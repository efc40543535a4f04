#include "render/ThreadResources.h"

#include <memory>
#include <mutex>

#include "gl/OffscreenContext.h"
#include "platform/ThreadExit.h"

namespace solvane {
namespace {

// Function-local, so it is created on first use from any thread and destroyed at unload.
std::mutex& RenderMutex() {
  static std::mutex renderMutex;
  return renderMutex;
}

// The thread's record. The pointer itself is trivially destructible, which thread-local
// storage handles safely everywhere; the record is released by the thread-exit hook.
thread_local GLResources* threadResources = nullptr;

void ReleaseAtThreadExit(void* record) {
  auto* resources = static_cast<GLResources*>(record);
  ReleaseThreadResources(*resources);
  delete resources;
}

void CreateThreadResources() {
  auto record = std::make_unique<GLResources>();
  record->context = CreateOffscreenContext(nullptr);
  if (record->context != nullptr) BuildPrograms(*record);
  threadResources = record.release();
  RunAtThreadExit(&ReleaseAtThreadExit, threadResources);
}

}  // namespace

GLResources* AcquireThreadResources(const GLResources* global) {
  std::lock_guard lock(RenderMutex());
  if (threadResources != nullptr) {
    MakeContextCurrent(threadResources->context);
  } else if (global != nullptr && global->context != nullptr) {
    CreateThreadResources();
  }
  return threadResources;
}

void ReleaseThreadResources(GLResources& resources) {
  ReleaseGLResources(resources);
}

}  // namespace solvane
