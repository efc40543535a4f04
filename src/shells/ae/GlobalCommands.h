// The commands the shell answers itself: About, global set-up and global set-down.
#pragma once

#include "shells/ae/HostApi.h"

namespace solvane {

PF_Err About(PF_InData* in_data, PF_OutData* out_data);
PF_Err GlobalSetup(PF_InData* in_data, PF_OutData* out_data);
PF_Err GlobalSetdown(PF_InData* in_data);

}  // namespace solvane
