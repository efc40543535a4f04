// The Linux loader behind GLApi.h: every function of GLFunctions.h through
// eglGetProcAddress, which under glvnd answers core and extension functions alike (EGL 1.5,
// EGL_KHR_client_get_all_proc_addresses) without loading libGL or libGLX.
#include <EGL/egl.h>

#include <mutex>
#include <string>

#include "core/gl/Diagnostics.h"
#include "core/gl/GLApi.h"

namespace solvane {

namespace gl_entry_points {
#define SOLVANE_GL_DEFINE(type, name) type name = nullptr;
SOLVANE_GL_FUNCTIONS(SOLVANE_GL_DEFINE, SOLVANE_GL_DEFINE)
#undef SOLVANE_GL_DEFINE
}  // namespace gl_entry_points

namespace {

template <typename Pointer>
bool FetchEgl(Pointer& pointer, const char* name, bool required) {
  pointer = reinterpret_cast<Pointer>(eglGetProcAddress(name));
  if (pointer != nullptr || !required) return true;
  PrintMessage((std::string("The OpenGL function ") + name + " cannot be loaded.\n").c_str());
  return false;
}

bool FetchAllEgl() {
  bool complete = true;
#define SOLVANE_GL_REQUIRED(type, name) \
  complete = FetchEgl(gl_entry_points::name, #name, true) && complete;
#define SOLVANE_GL_OPTIONAL(type, name) FetchEgl(gl_entry_points::name, #name, false);
  SOLVANE_GL_FUNCTIONS(SOLVANE_GL_REQUIRED, SOLVANE_GL_OPTIONAL)
#undef SOLVANE_GL_REQUIRED
#undef SOLVANE_GL_OPTIONAL
  return complete;
}

}  // namespace

bool LoadGLEntryPoints() {
  static std::once_flag once;
  static bool complete = false;
  std::call_once(once, [] { complete = FetchAllEgl(); });
  return complete;
}

}  // namespace solvane
