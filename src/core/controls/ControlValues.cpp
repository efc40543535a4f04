#include "core/controls/ControlValues.h"

#include "core/controls/ControlFields.h"
#include "core/controls/FixedPoint.h"

namespace solvane {

ControlValues DefaultControlValues(double layerWidth, double layerHeight) {
  using namespace control_fields;
  ControlValues c;
  for (const auto& row : kSliders) c.*row.field = DefaultValue(ControlAt(row.index));
  for (const auto& row : kPopups) c.*row.field = int32_t(DefaultValue(ControlAt(row.index)));
  for (const auto& row : kCheckboxes) c.*row.field = DefaultValue(ControlAt(row.index)) != 0;
  c.spinAmount = DefaultValue(ControlAt(kParamSpinAmount));
  const ControlRow& position = ControlAt(kParamPosition);
  c.positionX = fixed_point::PercentToPixels(position.pointDefaultX, layerWidth);
  c.positionY = fixed_point::PercentToPixels(position.pointDefaultY, layerHeight);
  return c;
}

}  // namespace solvane
