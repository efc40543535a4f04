// Each render thread owns a private context and its two programs, from the thread's first
// frame to the thread's end. Looking them up or creating them is serialised by one
// process-wide mutex; drawing is not.
#pragma once

#include "plugin/GLResources.h"

namespace solvane {

// The calling thread's resources, made current; created on the thread's first frame when
// global set-up found OpenGL usable (global has a context). Null when there are none; a
// record with a null context when creation failed (no new attempt is made on the thread).
GLResources* AcquireThreadResources(const GLResources* global);

// Deletes the thread's programs and destroys its context; runs by itself at thread exit.
void ReleaseThreadResources(GLResources& resources);

}  // namespace solvane
