#include "core/render/RenderParams.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/controls/ControlChoices.h"

namespace solvane {
namespace {

// The controls' display units turned into the shaders' and the composite's.
void CopyAndScale(const ControlValues& c, RenderParams& p) {
  p.exposure = c.exposure;
  p.thresholdMode = c.thresholdMode;
  p.chromaticAberration = c.aberrationAmount * 0.01;  // per cent to a fraction
  p.mode = c.mode;
  p.decay = c.decay * 2.0;  // the ray shader's fall-off is twice the control's value
  p.quality = c.quality;
  // Zoom length is in layer pixels at full resolution; the ray pass works at the current
  // one (DeriveSpinOrZoom then makes it a share of the output's width).
  p.density = p.downsampleScale * c.length;
  p.direction = c.direction;
  p.threshold = c.threshold * 0.01;  // per cent to a fraction
  p.blendMode = c.blendMode;
  p.channels = c.channels;
  p.thresholdSmooth = c.thresholdSmooth * 0.01;  // per cent to a fraction
  p.view = c.view;
  p.repeatEdges = c.repeatEdges ? 1 : 0;
  // Per cent to the composite's 0..255 opacity. A double holds 2.55 as a little less, so
  // 100% gives 254.99..., which the composite truncates to 254: full opacity draws the
  // input at 254/255.
  p.inputOpacity = c.inputOpacity * 2.55;
  p.unmult = c.unmult ? 1 : 0;
}

void DeriveSpinOrZoom(const ControlValues& c, int32_t width, RenderParams& p) {
  if (p.mode == kModeSpin) {
    p.density = c.spinAmount;  // the sweep, in degrees
    // Spin halves the doubled value less one: the control's value less 0.5, and no fall-off
    // at all for values up to 0.5.
    p.decay = std::max((p.decay - 1.0) * 0.5, 0.0);
    return;
  }
  p.density = p.density / double(std::max<int32_t>(width, 1));
  p.forward = p.direction == kDirectionOut || p.direction == kDirectionInOut ? 1 : 0;
  p.backward = p.direction == kDirectionIn || p.direction == kDirectionInOut ? 1 : 0;
}

void DeriveSamples(const ControlValues& c, int32_t width, RenderParams& p) {
  const int32_t q = p.quality;
  if (q == kQualityCustom) {
    p.samples = TruncateToInt32(c.samples);
    p.jitter = c.noise * 0.01;  // per cent to a fraction
  } else if (p.mode == kModeSpin) {
    p.samples = TruncateToInt32(300.0 * q);  // 300 samples per quality step
    p.jitter = 1.0 / q;
  } else {
    // One sample per ten pixels of ray length plus a floor of 30, scaled by half the
    // quality step.
    p.samples = TruncateToInt32((double(width) * p.density * 0.1 + 30.0) * (q * 0.5));
    p.jitter = 1.0;
  }
}

// The ray centre starts at the layer's origin seen from the output and moves to
// "Position". For an ordinary layer the input is placed `expansion` pixels in from the
// output's corner, and the centre moves with it so that it stays on the chosen point.
void Place(const ControlValues& c, const FrameGeometry& frame, RenderParams& p) {
  p.isAdjustmentLike = frame.adjustmentLike ? 1 : 0;
  p.offsetX = frame.inputOffsetX;
  p.offsetY = frame.inputOffsetY;
  p.posX = -double(frame.outputOriginX);
  p.posY = -double(frame.outputOriginY);
  p.posX += c.positionX;
  p.posY += c.positionY;
  if (!frame.adjustmentLike) {
    p.offsetX += p.expansion;
    p.offsetY += p.expansion;
    p.posX += p.expansion;
    p.posY += p.expansion;
  }
}

}  // namespace

uint8_t CompositeOpacity(const RenderParams& params) {
  return uint8_t(std::clamp(TruncateToInt32(params.inputOpacity), 0, 255));
}

int32_t TruncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kMin = std::numeric_limits<int32_t>::min();
  constexpr double kMax = std::numeric_limits<int32_t>::max();
  return int32_t(std::clamp(std::trunc(value), kMin, kMax));
}

int32_t BufferExpansionPixels(double bufferExpansion, double downsampleScale) {
  return TruncateToInt32(bufferExpansion * downsampleScale);
}

RenderParams DeriveRenderParams(const ControlValues& c, const FrameGeometry& frame) {
  RenderParams p;
  p.downsampleScale = frame.downsampleScale;
  p.expansion = BufferExpansionPixels(c.bufferExpansion, p.downsampleScale);
  Place(c, frame, p);
  CopyAndScale(c, p);
  p.aspect = double(frame.outputHeight) / double(frame.outputWidth);
  DeriveSpinOrZoom(c, frame.outputWidth, p);
  DeriveSamples(c, frame.outputWidth, p);
  // The shaders take the centre in texture coordinates of the output.
  p.posX /= double(std::max<int32_t>(frame.outputWidth, 1));
  p.posY /= double(std::max<int32_t>(frame.outputHeight, 1));
  return p;
}

}  // namespace solvane
