#include "FrameTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "shells/ae/Dispatch.h"
#include "shells/ae/PixelTransfer.h"

namespace solvane::frametest {

PixelView ViewOf(const host::World& world) {
  PixelView view;
  EXPECT_TRUE(TransferableView(*world.Get(), world.Depth(), view));
  return view;
}

Controls::Controls() : ControlValues(DefaultControlValues(0, 0)) {
  positionX = 10;  // layer pixels
  positionY = 6;
  quality = kQualityCustom;
  samples = 8;
  noise = 0;
}

void ApplyControls(host::Host& host, const Controls& c) {
  host::ParamStore& p = host.Params();
  p.Set(kParamMode, {double(c.mode)});
  p.Set(kParamPosition, {c.positionX, c.positionY});
  p.Set(kParamThresholdMode, {double(c.thresholdMode)});
  p.Set(kParamThreshold, {c.threshold});
  p.Set(kParamThresholdSmooth, {c.thresholdSmooth});
  p.Set(kParamLength, {c.length});
  p.Set(kParamSpinAmount, {c.spinAmount});
  p.Set(kParamExposure, {c.exposure});
  p.Set(kParamDecay, {c.decay});
  p.Set(kParamDirection, {double(c.direction)});
  p.Set(kParamAberrationAmount, {c.aberrationAmount});
  p.Set(kParamChannels, {double(c.channels)});
  p.Set(kParamQuality, {double(c.quality)});
  p.Set(kParamSamples, {double(c.samples)});
  p.Set(kParamNoise, {c.noise});
  p.Set(kParamRepeatEdges, {c.repeatEdges ? 1.0 : 0.0});
  p.Set(kParamBufferExpansion, {c.bufferExpansion});
  p.Set(kParamInputOpacity, {c.inputOpacity});
  p.Set(kParamBlendMode, {double(c.blendMode)});
  p.Set(kParamUnmult, {c.unmult ? 1.0 : 0.0});
  p.Set(kParamView, {double(c.view)});
}

std::unique_ptr<host::Host> MakeEffectHost(int width, int height, bool linked) {
  auto host = linked ? std::make_unique<host::Host>(SOLVANE_MODULE_PATH, &solvane::Dispatch)
                     : std::make_unique<host::Host>(SOLVANE_MODULE_PATH);
  host->Layer().width = width;
  host->Layer().height = height;
  if (host->GlobalSetup() != PF_Err_NONE || host->ParamsSetup() != PF_Err_NONE) return nullptr;
  return host;
}

host::World Pattern(int width, int height, int depth, int rowPadding) {
  host::World world(width, height, depth, rowPadding);
  const float peak = depth == 32 ? 2.5f : 1.0f;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool corner = x < 3 && y < 3;
      const float alpha = corner ? 0.0f : (y % 4 == 1 ? 0.5f : 1.0f);
      const bool spot = (x * 7 + y * 3) % 11 == 0;
      const float r = spot ? peak : 0.1f + 0.05f * float(x % 5);
      const float g = spot ? 0.8f : 0.2f + 0.1f * float(y % 3);
      const float b = spot ? 0.6f : 0.05f * float((x + y) % 7);
      // The transparent corner holds no colour either, so nothing there can make rays.
      const float cover = corner ? 0.0f : 1.0f;
      world.SetValue(x, y, {alpha, std::min(r, peak) * cover, g * cover, b * cover});
    }
  }
  return world;
}

reference::Image ToImage(const host::World& world) {
  reference::Image image(world.Width(), world.Height());
  for (int y = 0; y < world.Height(); ++y) {
    for (int x = 0; x < world.Width(); ++x) {
      const PF_PixelFloat v = world.Value(x, y);
      image.Set(x, y, {v.alpha, v.red, v.green, v.blue});
    }
  }
  return image;
}

namespace {

reference::RayUniforms RayUniformsFor(const Controls& c, int outW, int outH, int posOffset) {
  reference::RayUniforms u;
  u.posX = float((c.positionX + posOffset) / std::max(outW, 1));
  u.posY = float((c.positionY + posOffset) / std::max(outH, 1));
  u.samplesF = float(c.samples);
  u.weightF = float(c.exposure);
  u.jitterF = float(c.noise * 0.01);
  u.modeL = c.mode;
  u.caF = float(c.aberrationAmount * 0.01);
  u.aberration_channelL = c.channels;
  u.aspectF = float(double(outH) / double(outW));
  u.unmultL = c.unmult ? 1 : 0;
  if (c.mode == 1) {
    u.decayF = float(std::max((c.decay * 2 - 1) * 0.5, 0.0));
    u.densityF = float(c.spinAmount);
    u.forwardL = u.backwardL = 0;
  } else {
    u.decayF = float(c.decay * 2);
    u.densityF = float(c.length / std::max(outW, 1));
    u.forwardL = c.direction == 1 || c.direction == 3;
    u.backwardL = c.direction == 2 || c.direction == 3;
  }
  return u;
}

}  // namespace

reference::FrameSpec SpecFor(const Controls& c, const host::World& input, int outputWidth,
                             int outputHeight, int offsetX, int offsetY, int depth) {
  reference::FrameSpec spec;
  spec.input = ToImage(input);
  spec.outputWidth = outputWidth;
  spec.outputHeight = outputHeight;
  spec.offsetX = offsetX;
  spec.offsetY = offsetY;
  spec.wrap = c.repeatEdges ? reference::Wrap::kMirroredRepeat : reference::Wrap::kClampToBorder;
  spec.preprocess.thresholdF = float(c.threshold * 0.01);
  spec.preprocess.thresholdSmoothF = float(c.thresholdSmooth * 0.01);
  spec.preprocess.thresholdModeL = c.thresholdMode;
  spec.rays = RayUniformsFor(c, outputWidth, outputHeight, offsetX);
  spec.view = c.view;
  spec.blendMode = c.blendMode;
  spec.opacity = int(c.inputOpacity * 2.55);
  spec.depth = depth;
  return spec;
}

float MaxRelativeDifference(const host::World& actual, const reference::Image& expected) {
  if (actual.Width() != expected.width || actual.Height() != expected.height) {
    return std::numeric_limits<float>::infinity();
  }
  float worst = 0.0f;
  for (int y = 0; y < expected.height; ++y) {
    for (int x = 0; x < expected.width; ++x) {
      const PF_PixelFloat v = actual.Value(x, y);
      const reference::Rgba got{v.alpha, v.red, v.green, v.blue};
      const reference::Rgba want = expected.At(x, y);
      for (int k = 0; k < 4; ++k) {
        const float scale = std::max(1.0f, std::fabs(want[k]));
        worst = std::max(worst, std::fabs(got[k] - want[k]) / scale);
      }
    }
  }
  return worst;
}

}  // namespace solvane::frametest
