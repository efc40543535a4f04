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

}  // namespace solvane
