// "PF World Suite" v2: worlds the effect allocates from the host (PF_NewWorld /
// PF_DisposeWorld) and the pixel format of any host world (PF_GetPixelFormat).
#pragma once

#include <cstddef>

#include "AE_EffectCBSuites.h"

namespace solvane::host {

const PF_WorldSuite2* WorldSuite();

// Worlds made through PF_NewWorld and not yet disposed of, across all hosts.
size_t LiveSuiteWorlds();

}  // namespace solvane::host
