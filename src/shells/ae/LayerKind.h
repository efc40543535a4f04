// Whether the effect's layer is an adjustment layer or a collapsed (continuously
// rasterised) one. Such a layer renders what lies beneath it at the host's request
// rectangle, so its output neither grows by the buffer expansion nor moves the input.
#pragma once

#include "shells/ae/HostApi.h"
#include "shells/ae/HostSuiteCache.h"

namespace solvane {

// Asks the host for the effect's layer, then its flags; the second call is made only when
// the first succeeded. adjustmentLike is left false on failure.
PF_Err ReadLayerIsAdjustmentLike(HostSuiteCache& suites, PF_InData* in_data, bool& adjustmentLike);

}  // namespace solvane
