// Command dispatch: routes each host command to its handler and turns every exception
// into a host error code, so nothing is thrown across the host boundary.
#pragma once

#include "shells/ae/HostApi.h"

namespace solvane {

PF_Err Dispatch(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                PF_LayerDef* output, void* extra);

}  // namespace solvane
