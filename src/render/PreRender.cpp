#include "render/PreRender.h"

namespace solvane {

PF_Err PreRenderFrame(PF_InData*, PF_OutData*, PF_PreRenderExtra*) { return PF_Err_NONE; }

}  // namespace solvane
