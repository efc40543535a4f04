// PF_Cmd_SMART_RENDER: one frame from the host's input buffer through both GPU passes
// into the output buffer, then the host composite.
#pragma once

#include "shells/ae/HostApi.h"

namespace solvane {

PF_Err RenderFrame(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra);

}  // namespace solvane
