#include "render/SmartRender.h"

namespace solvane {

PF_Err RenderFrame(PF_InData*, PF_OutData*, PF_SmartRenderExtra*) { return PF_Err_NONE; }

}  // namespace solvane
