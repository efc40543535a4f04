#include "render/ControlCheckout.h"

#include "params/ParamTable.h"

namespace solvane {
namespace {

constexpr double kFixedOne = 65536.0;  // 16.16 fixed point

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
  const auto slider = [&defs](PF_ParamIndex i) { return defs[i].u.fs_d.value; };
  const auto item = [&defs](PF_ParamIndex i) { return int32_t(defs[i].u.pd.value); };
  const auto checked = [&defs](PF_ParamIndex i) { return defs[i].u.bd.value != 0; };
  ControlValues c;
  c.mode = item(kParamMode);
  c.positionX = defs[kParamPosition].u.td.x_value / kFixedOne;
  c.positionY = defs[kParamPosition].u.td.y_value / kFixedOne;
  c.thresholdMode = item(kParamThresholdMode);
  c.threshold = slider(kParamThreshold);
  c.thresholdSmooth = slider(kParamThresholdSmooth);
  c.length = slider(kParamLength);
  c.spinAmount = defs[kParamSpinAmount].u.ad.value / kFixedOne;
  c.exposure = slider(kParamExposure);
  c.decay = slider(kParamDecay);
  c.direction = item(kParamDirection);
  c.aberrationAmount = slider(kParamAberrationAmount);
  c.channels = item(kParamChannels);
  c.quality = item(kParamQuality);
  c.samples = slider(kParamSamples);
  c.noise = slider(kParamNoise);
  c.repeatEdges = checked(kParamRepeatEdges);
  c.bufferExpansion = slider(kParamBufferExpansion);
  c.inputOpacity = slider(kParamInputOpacity);
  c.blendMode = item(kParamBlendMode);
  c.unmult = checked(kParamUnmult);
  c.view = item(kParamView);
  c.debugLeft = slider(kParamDebugLeft);
  c.debugTop = slider(kParamDebugTop);
  c.debugRight = slider(kParamDebugRight);
  c.debugBottom = slider(kParamDebugBottom);
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
