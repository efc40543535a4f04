// The values of the effect's controls for one frame, in the units a host hands them over:
// the record every shell fills from its own parameters and the render core derives from.
#pragma once

#include <cstdint>

namespace solvane {

// One field per control that carries a value. Sliders hold the slider's value as shown
// (Threshold 0..100 per cent, Length in pixels); the angle is in degrees; the point is in
// layer pixels at the current downsample; popups hold their 1-based item; checkboxes are
// on or off.
struct ControlValues {
  int32_t mode = 0;
  double positionX = 0;
  double positionY = 0;
  int32_t thresholdMode = 0;
  double threshold = 0;
  double thresholdSmooth = 0;
  double length = 0;
  double spinAmount = 0;
  double exposure = 0;
  double decay = 0;
  int32_t direction = 0;
  double aberrationAmount = 0;
  int32_t channels = 0;
  int32_t quality = 0;
  double samples = 0;
  double noise = 0;
  bool repeatEdges = false;
  double bufferExpansion = 0;
  double inputOpacity = 0;
  int32_t blendMode = 0;
  bool unmult = false;
  int32_t view = 0;
  double debugLeft = 0;
  double debugTop = 0;
  double debugRight = 0;
  double debugBottom = 0;
};

// Every control at its registered default. The point's default is a share of the layer,
// so it needs the layer's size in pixels at the current downsample.
ControlValues DefaultControlValues(double layerWidth, double layerHeight);

}  // namespace solvane
