#include "shells/frei0r/FilterRender.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "core/controls/ControlFields.h"
#include "core/controls/ControlTable.h"
#include "core/controls/ControlValues.h"
#include "core/gl/OffscreenContext.h"
#include "core/gl/PixelView.h"
#include "core/render/EffectFrame.h"
#include "core/render/GLResources.h"
#include "core/render/RenderParams.h"
#include "core/render/SharedProbe.h"
#include "shells/frei0r/FilterInstance.h"

namespace solvane::frei0r {
namespace {

std::atomic<bool> toldNoContext{false};
std::atomic<bool> toldNoProgram{false};

void TellNoContext(const char* where) {
  if (!toldNoContext.exchange(true)) {
    PrintMessage(std::string("no OpenGL context can be made ") + where +
                 "; frames pass through unchanged");
  }
}

void TellNoProgram() {
  if (!toldNoProgram.exchange(true)) {
    PrintMessage("the effect's shaders do not build with this OpenGL (GLSL 3.30 is needed); "
                 "frames pass through unchanged");
  }
}

// The filter holds every control by host index; the render core's record is filled
// through the same (index, field) rows as the After Effects checkout. Controls the filter
// does not offer ("Buffer Expansion", "Debug") keep their defaults there.
ControlValues ToControlValues(const FilterControls& c, int32_t width, int32_t height) {
  ControlValues v = DefaultControlValues(width, height);
  for (const auto& row : control_fields::kSliders) {
    if (row.index != kParamBufferExpansion) v.*row.field = c.value[row.index];
  }
  for (const auto& row : control_fields::kPopups) v.*row.field = int32_t(c.value[row.index]);
  for (const auto& row : control_fields::kCheckboxes) v.*row.field = c.value[row.index] != 0;
  v.spinAmount = c.value[kParamSpinAmount];
  v.positionX = c.positionX * width;
  v.positionY = c.positionY * height;
  return v;
}

// The whole frame is the layer: no downsampling, no expansion, both origins at 0.
RenderParams FrameParams(const FilterControls& controls, int32_t width, int32_t height) {
  FrameGeometry frame;
  frame.outputWidth = width;
  frame.outputHeight = height;
  return DeriveRenderParams(ToControlValues(controls, width, height), frame);
}

PixelView View(const uint8_t* argb, int32_t width, int32_t height) {
  return {const_cast<uint8_t*>(argb), ptrdiff_t(width) * 4, width, height, PixelFormat::kArgb8};
}

}  // namespace

DrawResult DrawFrame(const FilterControls& controls, int32_t width, int32_t height,
                     const uint8_t* inputArgb, uint8_t* outputArgb, FrameComposite& composite) {
  const GLResources* probe = SharedProbe();
  if (probe->context == nullptr) {
    TellNoContext("on this machine");
    return DrawResult::kNoGL;
  }
  const RenderParams params = FrameParams(controls, width, height);
  const PixelView input = View(inputArgb, width, height);
  const PixelView output = View(outputArgb, width, height);
  if (!IsTransferable(input) || !IsTransferable(output)) return DrawResult::kNoTargets;
  // The render core leaves the thread's own context current; the host's goes back.
  ScopedContextRestore restore;
  switch (DrawEffectFrame(probe, params, input, output, composite)) {
    case EffectFrameResult::kDrawn:
      break;
    case EffectFrameResult::kNoContext:
      TellNoContext("on a render thread");
      return DrawResult::kNoGL;
    case EffectFrameResult::kNoProgram:
      TellNoProgram();
      return DrawResult::kNoGL;
    case EffectFrameResult::kNoTargets:
      return DrawResult::kNoTargets;
  }
  return DrawResult::kDrawn;
}

uint8_t FilterOpacity(double inputOpacity) {
  const double opacity = std::isnan(inputOpacity) ? 0.0 : inputOpacity;
  return uint8_t(std::lround(std::clamp(opacity, 0.0, 255.0)));
}

void RetainGL() { RetainSharedProbe(); }

// The last user gone, the probe goes too, and the next frame's failure is told again.
void ReleaseGL() {
  if (!ReleaseSharedProbe()) return;
  toldNoContext = false;
  toldNoProgram = false;
}

}  // namespace solvane::frei0r
