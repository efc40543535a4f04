#include "params/ParamSetup.h"

namespace solvane {

PF_Err SetupParameters(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*) {
  return PF_Err_NONE;
}

}  // namespace solvane
