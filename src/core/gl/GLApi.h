// The OpenGL API as this code calls it. On Windows that is GLEW's static build (WGL hands
// out the entry points). On Linux it is the core-profile declarations with every function
// of GLFunctions.h a pointer fetched through eglGetProcAddress: GLEW there is built for GLX,
// and libGLX's teardown at exit races the host's render threads; EGL alone does not load it.
#pragma once

#ifdef _WIN32
#include <GL/glew.h>
#else
#include <GL/glcorearb.h>

#include "core/gl/GLFunctions.h"

namespace solvane {

// Each function is a pointer of the toolkit's own, under the usual name in a namespace of
// its own (hidden, so it displaces no symbol of libGL's that a host may have loaded).
namespace gl_entry_points {
#define SOLVANE_GL_DECLARE(type, name) extern __attribute__((visibility("hidden"))) type name;
SOLVANE_GL_FUNCTIONS(SOLVANE_GL_DECLARE, SOLVANE_GL_DECLARE)
#undef SOLVANE_GL_DECLARE
}  // namespace gl_entry_points

// Fetches every entry point once per process (later calls answer the first call's result);
// false when a required one is missing, after a message naming it. The pointers are glvnd's
// dispatch stubs, the same for every context, so no context needs to be current.
bool LoadGLEntryPoints();

}  // namespace solvane

// Callers write glBindTexture(...) as with any OpenGL header.
#define SOLVANE_GL_USING(type, name) using ::solvane::gl_entry_points::name;
SOLVANE_GL_FUNCTIONS(SOLVANE_GL_USING, SOLVANE_GL_USING)
#undef SOLVANE_GL_USING
#endif
