#include "shells/ae/ControlCheckout.h"

#include "core/controls/ControlTable.h"
#include "core/controls/ControlFields.h"
#include "core/controls/FixedPoint.h"

namespace solvane {
namespace {

using ParamDefs = PF_ParamDef[kParamCount];

// Every index is checked in, even after a failure; only the checkouts stop.
PF_Err CheckOutAll(PF_InData* in_data, ParamDefs& defs) {
  PF_Err err = PF_Err_NONE;
  for (PF_ParamIndex index = 1; index < kParamCount; ++index) {
    if (err == PF_Err_NONE) {
      err = in_data->inter.checkout_param(in_data->effect_ref, index, in_data->current_time,
                                          in_data->time_step, in_data->time_scale, &defs[index]);
    }
    const PF_Err checkin = in_data->inter.checkin_param(in_data->effect_ref, &defs[index]);
    if (err == PF_Err_NONE) err = checkin;
  }
  return err;
}

// A definition that was never checked out reads as zero.
ControlValues FromDefinitions(const ParamDefs& defs) {
  using namespace control_fields;
  ControlValues c;
  for (const auto& row : kSliders) c.*row.field = defs[row.index].u.fs_d.value;
  for (const auto& row : kPopups) c.*row.field = defs[row.index].u.pd.value;
  for (const auto& row : kCheckboxes) c.*row.field = defs[row.index].u.bd.value != 0;
  c.spinAmount = fixed_point::ToDouble(defs[kParamSpinAmount].u.ad.value);
  c.positionX = fixed_point::ToDouble(defs[kParamPosition].u.td.x_value);
  c.positionY = fixed_point::ToDouble(defs[kParamPosition].u.td.y_value);
  return c;
}

}  // namespace

PF_Err CheckOutControls(PF_InData* in_data, ControlValues& controls) {
  ParamDefs defs{};
  const PF_Err err = CheckOutAll(in_data, defs);
  controls = FromDefinitions(defs);
  return err;
}

PF_Err GatherRenderParams(PF_InData* in_data, const FrameGeometry& frame, RenderParams& params) {
  ControlValues controls;
  const PF_Err err = CheckOutControls(in_data, controls);
  params = DeriveRenderParams(controls, frame);
  return err;
}

double DownsampleScale(const PF_RationalScale& downsample) {
  return double(float(downsample.num) / float(downsample.den));
}

}  // namespace solvane
