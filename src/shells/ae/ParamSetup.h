// PF_Cmd_PARAMS_SETUP: registers the effect's controls with the host.
#pragma once

#include "shells/ae/HostApi.h"

namespace solvane {

PF_Err SetupParameters(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                       PF_LayerDef* output);

}  // namespace solvane
