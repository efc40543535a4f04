#include "EglContextCount.h"

#include <EGL/egl.h>
#include <dlfcn.h>

#include <atomic>

namespace solvane::ofx_host::test {
namespace {

std::atomic<int> live{0};

template <typename F>
F Next(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

int LiveEglContexts() {
  return live.load();
}

}  // namespace solvane::ofx_host::test

using solvane::ofx_host::test::live;

extern "C" __attribute__((visibility("default"))) EGLContext eglCreateContext(
    EGLDisplay display, EGLConfig config, EGLContext share, const EGLint* attributes) {
  using Create = EGLContext (*)(EGLDisplay, EGLConfig, EGLContext, const EGLint*);
  static const Create next = solvane::ofx_host::test::Next<Create>("eglCreateContext");
  const EGLContext context = next(display, config, share, attributes);
  if (context != EGL_NO_CONTEXT) ++live;
  return context;
}

extern "C" __attribute__((visibility("default"))) EGLBoolean eglDestroyContext(EGLDisplay display,
                                                                               EGLContext context) {
  using Destroy = EGLBoolean (*)(EGLDisplay, EGLContext);
  static const Destroy next = solvane::ofx_host::test::Next<Destroy>("eglDestroyContext");
  const EGLBoolean destroyed = next(display, context);
  if (destroyed == EGL_TRUE) --live;
  return destroyed;
}
