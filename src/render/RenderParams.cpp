#include "render/RenderParams.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "params/ParamTable.h"

namespace solvane {
namespace {

constexpr double kFixedOne = 65536.0;

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

double Float(const ParamDefs& defs, PF_ParamIndex index) {
  return defs[index].u.fs_d.value;
}
int32_t Choice(const ParamDefs& defs, PF_ParamIndex index) {
  return defs[index].u.pd.value;
}
int32_t Checked(const ParamDefs& defs, PF_ParamIndex index) {
  return defs[index].u.bd.value;
}

void CopyAndScale(const ParamDefs& defs, RenderParams& p) {
  p.exposure = Float(defs, kParamExposure);
  p.thresholdMode = Choice(defs, kParamThresholdMode);
  p.chromaticAberration = Float(defs, kParamAberrationAmount) * 0.01;
  p.mode = Choice(defs, kParamMode);
  p.decay = Float(defs, kParamDecay) * 2.0;
  p.quality = Choice(defs, kParamQuality);
  p.density = p.downsampleScale * Float(defs, kParamLength);
  p.direction = Choice(defs, kParamDirection);
  p.threshold = Float(defs, kParamThreshold) * 0.01;
  p.blendMode = Choice(defs, kParamBlendMode);
  p.channels = Choice(defs, kParamChannels);
  p.thresholdSmooth = Float(defs, kParamThresholdSmooth) * 0.01;
  p.view = Choice(defs, kParamView);
  p.repeatEdges = uint8_t(Checked(defs, kParamRepeatEdges));
  p.inputOpacity = Float(defs, kParamInputOpacity) * 2.55;
  p.unmult = Checked(defs, kParamUnmult);
}

void DeriveSpinOrZoom(const ParamDefs& defs, A_long width, RenderParams& p) {
  if (p.mode == kModeSpin) {
    p.density = defs[kParamSpinAmount].u.ad.value / kFixedOne;
    p.decay = std::max((p.decay - 1.0) * 0.5, 0.0);
    return;
  }
  p.density = p.density / double(std::max<A_long>(width, 1));
  p.forward = p.direction == kDirectionOut || p.direction == kDirectionInOut ? 1 : 0;
  p.backward = p.direction == kDirectionIn || p.direction == kDirectionInOut ? 1 : 0;
}

void DeriveSamples(const ParamDefs& defs, A_long width, RenderParams& p) {
  const int32_t q = p.quality;
  if (q == kQualityCustom) {
    p.samples = TruncateToInt32(Float(defs, kParamSamples));
    p.jitter = Float(defs, kParamNoise) * 0.01;
  } else if (p.mode == kModeSpin) {
    p.samples = TruncateToInt32(300.0 * q);
    p.jitter = 1.0 / q;
  } else {
    p.samples = TruncateToInt32((double(width) * p.density * 0.1 + 30.0) * (q * 0.5));
    p.jitter = 1.0;
  }
}

}  // namespace

double DownsampleScale(const PF_RationalScale& downsample) {
  return double(float(downsample.num) / float(downsample.den));
}

int32_t TruncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kMin = std::numeric_limits<int32_t>::min();
  constexpr double kMax = std::numeric_limits<int32_t>::max();
  return int32_t(std::clamp(std::trunc(value), kMin, kMax));
}

PF_Err GatherRenderParams(RenderParams& p, PF_InData* in_data, const PF_EffectWorld* output) {
  if (output == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  ParamDefs defs{};
  const PF_Err err = CheckOutAll(in_data, defs);
  p.downsampleScale = DownsampleScale(in_data->downsample_x);
  p.expansion = TruncateToInt32(Float(defs, kParamBufferExpansion) * p.downsampleScale);
  p.posX += defs[kParamPosition].u.td.x_value / kFixedOne;
  p.posY += defs[kParamPosition].u.td.y_value / kFixedOne;
  if (p.isAdjustmentLike == 0) {
    // The input is placed `expansion` pixels in from the output's corner; the ray centre
    // moves with it so that it stays on the chosen point of the layer.
    p.offsetX += p.expansion;
    p.offsetY += p.expansion;
    p.posX += p.expansion;
    p.posY += p.expansion;
  }
  CopyAndScale(defs, p);
  p.aspect = double(output->height) / double(output->width);
  DeriveSpinOrZoom(defs, output->width, p);
  DeriveSamples(defs, output->width, p);
  p.posX /= double(std::max<A_long>(output->width, 1));
  p.posY /= double(std::max<A_long>(output->height, 1));
  return err;
}

}  // namespace solvane
