// Global set-up and set-down of the GL resources that live for the whole plug-in load.
#pragma once

#include "shells/ae/HostApi.h"
#include "shells/ae/HostSuiteCache.h"

namespace solvane {

// Creates the global-data handle, a private context and both programs, then puts the
// caller's current context back. Failures leave a record without context; nothing is
// reported to the host.
void SetUpGlobalResources(HostSuiteCache& suites, PF_InData* in_data, PF_OutData* out_data);

// Releases what set-up created, the handle included.
void ReleaseGlobalResources(HostSuiteCache& suites, PF_InData* in_data);

}  // namespace solvane
