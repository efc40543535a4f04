#include "core/controls/UiRules.h"

namespace solvane {

UiState UiRules(int32_t mode, int32_t quality, int32_t view) {
  UiState ui;
  const bool zoom = mode == kModeZoom;
  ui.control[kParamSpinAmount].hidden = zoom;
  ui.control[kParamLength].hidden = !zoom;
  ui.control[kParamDirection].hidden = !zoom;

  const bool custom = quality == kQualityCustom;
  ui.control[kParamSamples].hidden = !custom;
  ui.control[kParamNoise].hidden = !custom;

  const bool composite = view == kViewFinalComposite;
  ui.control[kParamInputOpacity].disabled = !composite;
  ui.control[kParamBlendMode].disabled = !composite;
  ui.control[kParamUnmult].disabled = !composite;

  ui.control[kParamDebugGroup].hidden = true;
  return ui;
}

}  // namespace solvane
