// The module's only export. The host calls it for every command.
#include "shells/ae/Dispatch.h"

#if defined(_WIN32)
#define SOLVANE_EXPORT __declspec(dllexport)
#else
#define SOLVANE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" SOLVANE_EXPORT PF_Err EntryPointFunc(PF_Cmd cmd, PF_InData* in_data,
                                                PF_OutData* out_data, PF_ParamDef* params[],
                                                PF_LayerDef* output, void* extra) {
  return solvane::Dispatch(cmd, in_data, out_data, params, output, extra);
}
