#include "render/ControlValues.h"

#include "params/ParamTable.h"

namespace solvane {
namespace {

double Slider(PF_ParamIndex index) {
  return ParamRowAt(index).sliderDefault;
}
int32_t Item(PF_ParamIndex index) {
  return ParamRowAt(index).intDefault;
}
bool Checked(PF_ParamIndex index) {
  return ParamRowAt(index).intDefault != 0;
}

}  // namespace

ControlValues DefaultControlValues(double layerWidth, double layerHeight) {
  ControlValues c;
  c.mode = Item(kParamMode);
  // The point's default is registered in per cent of the layer.
  c.positionX = ParamRowAt(kParamPosition).pointDefaultX / 100.0 * layerWidth;
  c.positionY = ParamRowAt(kParamPosition).pointDefaultY / 100.0 * layerHeight;
  c.thresholdMode = Item(kParamThresholdMode);
  c.threshold = Slider(kParamThreshold);
  c.thresholdSmooth = Slider(kParamThresholdSmooth);
  c.length = Slider(kParamLength);
  c.spinAmount = Item(kParamSpinAmount);
  c.exposure = Slider(kParamExposure);
  c.decay = Slider(kParamDecay);
  c.direction = Item(kParamDirection);
  c.aberrationAmount = Slider(kParamAberrationAmount);
  c.channels = Item(kParamChannels);
  c.quality = Item(kParamQuality);
  c.samples = Slider(kParamSamples);
  c.noise = Slider(kParamNoise);
  c.repeatEdges = Checked(kParamRepeatEdges);
  c.bufferExpansion = Slider(kParamBufferExpansion);
  c.inputOpacity = Slider(kParamInputOpacity);
  c.blendMode = Item(kParamBlendMode);
  c.unmult = Checked(kParamUnmult);
  c.view = Item(kParamView);
  c.debugLeft = Slider(kParamDebugLeft);
  c.debugTop = Slider(kParamDebugTop);
  c.debugRight = Slider(kParamDebugRight);
  c.debugBottom = Slider(kParamDebugBottom);
  return c;
}

}  // namespace solvane
