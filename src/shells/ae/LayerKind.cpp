#include "shells/ae/LayerKind.h"

namespace solvane {

PF_Err ReadLayerIsAdjustmentLike(HostSuiteCache& suites, PF_InData* in_data, bool& adjustmentLike) {
  constexpr AEGP_LayerFlags kAdjustmentLike =
      AEGP_LayerFlag_COLLAPSE | AEGP_LayerFlag_ADJUSTMENT_LAYER;
  adjustmentLike = false;
  AEGP_LayerH layer = nullptr;
  AEGP_LayerFlags flags = 0;
  PF_Err err = suites.PfInterface()->AEGP_GetEffectLayer(in_data->effect_ref, &layer);
  if (err == PF_Err_NONE) err = suites.Layer()->AEGP_GetLayerFlags(layer, &flags);
  if (err == PF_Err_NONE) adjustmentLike = (flags & kAdjustmentLike) != 0;
  return err;
}

}  // namespace solvane
