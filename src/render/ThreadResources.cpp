#include "render/ThreadResources.h"

#include <memory>
#include <mutex>

#include "gl/OffscreenContext.h"
#include "gl/Programs.h"

namespace solvane {
namespace {

// Function-local, so it is created on first use from any thread and destroyed at unload.
std::mutex& RenderMutex() {
  static std::mutex renderMutex;
  return renderMutex;
}

// The thread's record; its destructor runs on the thread itself when the thread ends.
struct ThreadResourcesOwner {
  std::unique_ptr<GLResources> resources;
  ~ThreadResourcesOwner() {
    if (resources) ReleaseThreadResources(*resources);
  }
};

thread_local ThreadResourcesOwner threadResources;

void CreateThreadResources() {
  auto record = std::make_unique<GLResources>();
  record->context = CreateOffscreenContext(nullptr);
  if (record->context != nullptr) {
    MakeContextCurrent(record->context);
    GLuint programs[2] = {0, 0};
    BuildEffectPrograms(programs);
    record->preprocessProgram = programs[0];
    record->rayProgram = programs[1];
  }
  threadResources.resources = std::move(record);
}

}  // namespace

GLResources* AcquireThreadResources(const GLResources* global) {
  std::lock_guard lock(RenderMutex());
  if (threadResources.resources) {
    MakeContextCurrent(threadResources.resources->context);
  } else if (global != nullptr && global->context != nullptr) {
    CreateThreadResources();
  }
  return threadResources.resources.get();
}

void ReleaseThreadResources(GLResources& resources) {
  if (resources.context == nullptr) return;
  MakeContextCurrent(resources.context);
  DeleteProgram(&resources.preprocessProgram);
  DeleteProgram(&resources.rayProgram);
  DestroyOffscreenContext(resources.context);
  FreeOffscreenContext(resources.context);
  resources.context = nullptr;
}

}  // namespace solvane
