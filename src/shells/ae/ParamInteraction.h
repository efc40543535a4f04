// PF_Cmd_USER_CHANGED_PARAM and PF_Cmd_UPDATE_PARAMS_UI: controls that hide, show and grey
// out with others, and the version button.
#pragma once

#include "shells/ae/HostApi.h"

namespace solvane {

PF_Err HandleUserChangedParam(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                              PF_LayerDef* output, const PF_UserChangedParamExtra* extra);
PF_Err UpdateParamsUI(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                      PF_LayerDef* output);

}  // namespace solvane
