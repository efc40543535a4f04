// EGL contexts alive in this process, counted by wrapping eglCreateContext and
// eglDestroyContext in the test program: the plug-in's calls bind to the program's
// exported wrappers first, so its render threads' contexts are counted too.
#pragma once

namespace solvane::ofx_host::test {

int LiveEglContexts();

}  // namespace solvane::ofx_host::test
