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

void ReleaseGLResources(GLResources& resources) {
  if (resources.context == nullptr) return;
  MakeContextCurrent(resources.context);
  DeleteProgram(&resources.preprocessProgram);
  DeleteProgram(&resources.rayProgram);
  DestroyOffscreenContext(resources.context);
  FreeOffscreenContext(resources.context);
  resources.context = nullptr;
}

}  // namespace solvane
