#include "shells/ae/Dispatch.h"

#include "shells/ae/ParamInteraction.h"
#include "shells/ae/ParamSetup.h"
#include "shells/ae/ExceptionMapping.h"
#include "shells/ae/GlobalCommands.h"
#include "shells/ae/PreRender.h"
#include "shells/ae/SmartRender.h"

namespace solvane {
namespace {

PF_Err Route(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
             PF_LayerDef* output, void* extra) {
  switch (cmd) {
    case PF_Cmd_ABOUT:
      return About(in_data, out_data);
    case PF_Cmd_GLOBAL_SETUP:
      return GlobalSetup(in_data, out_data);
    case PF_Cmd_GLOBAL_SETDOWN:
      return GlobalSetdown(in_data);
    case PF_Cmd_PARAMS_SETUP:
      return SetupParameters(in_data, out_data, params, output);
    case PF_Cmd_USER_CHANGED_PARAM:
      return HandleUserChangedParam(in_data, out_data, params, output,
                                    static_cast<const PF_UserChangedParamExtra*>(extra));
    case PF_Cmd_UPDATE_PARAMS_UI:
      return UpdateParamsUI(in_data, out_data, params, output);
    case PF_Cmd_SMART_PRE_RENDER:
      return PreRenderFrame(in_data, out_data, static_cast<PF_PreRenderExtra*>(extra));
    case PF_Cmd_SMART_RENDER:
      return RenderFrame(in_data, out_data, static_cast<PF_SmartRenderExtra*>(extra));
    default:
      return PF_Err_NONE;  // unknown and negative commands touch nothing
  }
}

}  // namespace

PF_Err Dispatch(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                PF_LayerDef* output, void* extra) {
  return RunGuarded([&] { return Route(cmd, in_data, out_data, params, output, extra); });
}

}  // namespace solvane
