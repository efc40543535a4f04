#include "core/render/ThreadResources.h"

#include <memory>
#include <mutex>

#include "core/gl/OffscreenContext.h"
#include "core/platform/ThreadExit.h"

namespace solvane {
namespace {

// Function-local, so it is created on first use from any thread and destroyed at unload.
std::mutex& RenderMutex() {
  static std::mutex renderMutex;
  return renderMutex;
}

struct ThreadRecord {
  GLResources gl;
  FrameTargets targets;
};

// The thread's record. The pointer itself is trivially destructible, which thread-local
// storage handles safely everywhere; the record is released by the thread-exit hook.
thread_local ThreadRecord* threadRecord = nullptr;

// The targets go first, in the thread's own context: another context may be current
// by now (global set-down can run on a render thread).
void ReleaseAtThreadExit(void* opaque) {
  auto* record = static_cast<ThreadRecord*>(opaque);
  if (record->gl.context != nullptr) {
    MakeContextCurrent(record->gl.context);
    DeleteFrameTargets(record->targets);
  }
  ReleaseGLResources(record->gl);
  delete record;
}

void CreateThreadResources() {
  auto record = std::make_unique<ThreadRecord>();
  record->gl.context = CreateOffscreenContext(nullptr);
  if (record->gl.context != nullptr) BuildPrograms(record->gl);
  threadRecord = record.release();
  RunAtThreadExit(&ReleaseAtThreadExit, threadRecord);
}

}  // namespace

GLResources* AcquireThreadResources(const GLResources* global) {
  std::lock_guard lock(RenderMutex());
  if (threadRecord != nullptr) {
    MakeContextCurrent(threadRecord->gl.context);
  } else if (global != nullptr && global->context != nullptr) {
    CreateThreadResources();
  }
  return threadRecord != nullptr ? &threadRecord->gl : nullptr;
}

FrameTargets& ThreadFrameTargets() {
  return threadRecord->targets;
}

}  // namespace solvane
