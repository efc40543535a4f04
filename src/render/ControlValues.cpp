#include "render/ControlValues.h"

#include "render/ControlFields.h"

namespace solvane {

ControlValues DefaultControlValues(double layerWidth, double layerHeight) {
  using namespace control_fields;
  ControlValues c;
  for (const auto& row : kSliders) c.*row.field = ParamRowAt(row.index).sliderDefault;
  for (const auto& row : kPopups) c.*row.field = ParamRowAt(row.index).intDefault;
  for (const auto& row : kCheckboxes) c.*row.field = ParamRowAt(row.index).intDefault != 0;
  c.spinAmount = ParamRowAt(kParamSpinAmount).intDefault;  // registered in whole degrees
  // The point's default is registered in per cent of the layer.
  c.positionX = ParamRowAt(kParamPosition).pointDefaultX / 100.0 * layerWidth;
  c.positionY = ParamRowAt(kParamPosition).pointDefaultY / 100.0 * layerHeight;
  return c;
}

}  // namespace solvane
