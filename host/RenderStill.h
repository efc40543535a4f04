// One still image through the module, as the command-line renderer renders it: the image
// at full resolution in, the layer described to the host, box-filtered for a downsampled
// render, and the frame run on host render threads that are joined before it returns.
#pragma once

#include <functional>

#include "host/FrameRender.h"
#include "host/LayerState.h"

namespace solvane::host {

struct StillSettings {
  int depth = 8;       // 8 or 32: the image is converted to this depth first
  int downsample = 1;  // render at 1/downsample resolution, both axes
  LayerKind kind = LayerKind::kOrdinary;
  int threads = 1;  // host render threads; the frame runs on one of them
  // Sets control values in the host before the frame (the store scales points itself).
  std::function<void(Host&)> params;
};

// The host must have run global set-up and parameter set-up. Throws HostError for a
// depth other than 8 or 32 or a downsample factor below 1.
FrameResult RenderStill(Host& host, const World& image, const StillSettings& settings);

}  // namespace solvane::host
