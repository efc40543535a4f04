// The process's OpenGL probe, for shells whose hosts have no global set-up (frei0r,
// OpenFX): one private context with both programs, made on the first frame rather than at
// load (hosts also load plug-ins only to list them), whose existence tells every render
// thread that OpenGL works here. Each loaded shell holds it; the last one gone releases it.
#pragma once

#include "core/render/GLResources.h"

namespace solvane {

// The probe, made on the first call after it was released (or never made). The calling
// thread's current context is current again afterwards. Its context is null where no
// OpenGL context can be made.
const GLResources* SharedProbe();

void RetainSharedProbe();

// True when this was the last holder: the probe is gone and the next frame makes a new one.
// Render threads keep their own resources until they end.
bool ReleaseSharedProbe();

}  // namespace solvane
