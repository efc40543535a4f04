// Each render thread owns a private context, its two programs and the render targets it
// keeps between frames, from the thread's first frame to the thread's end. Looking them up or
// creating them is serialised by one process-wide mutex; drawing is not.
#pragma once

#include "core/render/FrameTargets.h"
#include "core/render/GLResources.h"

namespace solvane {

// The calling thread's resources, made current; created on the thread's first frame when
// global set-up found OpenGL usable (global has a context). Null when there are none; a
// record with a null context when creation failed (no new attempt is made on the thread).
GLResources* AcquireThreadResources(const GLResources* global);

// The render targets the calling thread keeps between frames; only valid after
// AcquireThreadResources gave the thread a record with a context.
FrameTargets& ThreadFrameTargets();

}  // namespace solvane
