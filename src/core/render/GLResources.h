// The GL resources of one owner: the global record kept in the host's global-data handle
// from global set-up to set-down, and one record per render thread.
#pragma once

#include <cstdint>

namespace solvane {

struct OffscreenContext;

struct GLResources {
  OffscreenContext* context = nullptr;  // null: no usable OpenGL
  uint32_t preprocessProgram = 0;
  uint32_t rayProgram = 0;
};
static_assert(sizeof(GLResources) == 16, "the global-data handle holds exactly this record");

// Fills the record with a new private context and both programs built into it, or leaves
// it without a context where none can be made; the caller's current context (possibly
// none) is current again afterwards.
void CreateGLResources(GLResources& resources);

// Makes the record's context current and builds both programs into it.
void BuildPrograms(GLResources& resources);

// Deletes both programs in the record's own context, then destroys and frees the context;
// a record without a context is left as it is.
void ReleaseGLResources(GLResources& resources);

}  // namespace solvane
