#include "core/render/SharedProbe.h"

#include <mutex>

#include "core/gl/OffscreenContext.h"

namespace solvane {
namespace {

struct Probe {
  std::mutex mutex;
  GLResources gl;
  bool made = false;
  int holders = 0;
};

Probe& TheProbe() {
  static Probe probe;
  return probe;
}

}  // namespace

const GLResources* SharedProbe() {
  Probe& probe = TheProbe();
  std::lock_guard lock(probe.mutex);
  if (!probe.made) {
    probe.made = true;
    CreateGLResources(probe.gl);
  }
  return &probe.gl;
}

void RetainSharedProbe() {
  Probe& probe = TheProbe();
  std::lock_guard lock(probe.mutex);
  ++probe.holders;
}

bool ReleaseSharedProbe() {
  Probe& probe = TheProbe();
  std::lock_guard lock(probe.mutex);
  if (probe.holders == 0 || --probe.holders > 0) return false;
  if (probe.gl.context != nullptr) {
    ScopedContextRestore restore;
    ReleaseGLResources(probe.gl);
  }
  probe.gl = {};
  probe.made = false;
  return true;
}

}  // namespace solvane
