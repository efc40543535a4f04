// PF_Cmd_SMART_PRE_RENDER: asks for the layer and reports the output rectangle, grown by
// the buffer expansion.
#pragma once

#include "shells/ae/HostApi.h"

namespace solvane {

PF_Err PreRenderFrame(PF_InData* in_data, PF_OutData* out_data, PF_PreRenderExtra* extra);

}  // namespace solvane
