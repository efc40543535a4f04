#include "core/render/GLResources.h"

#include "core/gl/OffscreenContext.h"
#include "core/gl/Programs.h"

namespace solvane {

void CreateGLResources(GLResources& resources) {
  ScopedContextRestore restore;
  OffscreenContext* context = CreateOffscreenContext(nullptr);
  if (IsContextValid(context)) {
    resources.context = context;
    BuildPrograms(resources);
  } else {
    FreeOffscreenContext(context);
  }
}

void BuildPrograms(GLResources& resources) {
  MakeContextCurrent(resources.context);
  GLuint programs[2] = {0, 0};
  BuildEffectPrograms(programs);
  resources.preprocessProgram = programs[0];
  resources.rayProgram = programs[1];
}

// Released from another thread than the one that made them (a shell's probe at unload),
// the context may no longer be one this thread can make current; its programs then go
// with it.
void ReleaseGLResources(GLResources& resources) {
  if (resources.context == nullptr) return;
  if (CanMakeContextCurrent(resources.context)) {
    MakeContextCurrent(resources.context);
    DeleteProgram(&resources.preprocessProgram);
    DeleteProgram(&resources.rayProgram);
  }
  resources.preprocessProgram = 0;
  resources.rayProgram = 0;
  DestroyOffscreenContext(resources.context);
  FreeOffscreenContext(resources.context);
  resources.context = nullptr;
}

}  // namespace solvane
