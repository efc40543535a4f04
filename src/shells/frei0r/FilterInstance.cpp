#include "shells/frei0r/FilterInstance.h"

#include <cstring>

#include "shells/frei0r/FrameConversion.h"

namespace solvane::frei0r {

FilterInstance::FilterInstance(int32_t width, int32_t height)
    : width_(width),
      height_(height),
      scratch_(size_t(width) * size_t(height) * 4) {}

// Its tables take a while to fill, so one is kept while mode and opacity stay; a call
// holds its own reference, and a call that changes them does not pull it from under another.
std::shared_ptr<const pixels::Compositor8> FilterInstance::Compositor(
    const FrameComposite& composite) {
  const uint8_t opacity = FilterOpacity(composite.opacity);
  std::lock_guard lock(compositorMutex_);
  if (!compositor_ || compositor_->Op() != composite.op || compositor_->Opacity() != opacity) {
    compositor_ = std::make_shared<const pixels::Compositor8>(composite.op, opacity);
  }
  return compositor_;
}

void FilterInstance::Update(const uint8_t* in, uint8_t* out) {
  const size_t count = size_t(width_) * size_t(height_);
  ScratchLease buffers = scratch_.Take();
  ToArgb(in, count, buffers->input.data());
  FrameComposite composite;
  const DrawResult drawn = DrawFrame(settings_.Controls(), width_, height_, buffers->input.data(),
                                     buffers->output.data(), composite);
  if (drawn != DrawResult::kDrawn) {
    if (drawn == DrawResult::kNoTargets && !toldTooLarge_.exchange(true)) {
      PrintMessage("a " + std::to_string(width_) + " x " + std::to_string(height_) +
                   " frame is too large for the GPU; frames pass through unchanged");
    }
    if (in != out) std::memcpy(out, in, count * 4);
    return;
  }
  if (composite.wanted) {
    CompositeOver(buffers->input.data(), count, *Compositor(composite), buffers->output.data());
  }
  ToRgba(buffers->output.data(), count, out);
}

}  // namespace solvane::frei0r
