#include "shells/frei0r/FilterInstance.h"

#include <cstring>

#include "shells/frei0r/FrameConversion.h"

namespace solvane::frei0r {

FilterInstance::FilterInstance(int32_t width, int32_t height)
    : width_(width),
      height_(height),
      input_(size_t(width) * size_t(height) * 4),
      output_(input_.size()) {}

const pixels::Compositor8& FilterInstance::Compositor(const FrameComposite& composite) {
  if (!compositor_ || compositor_->Op() != composite.op ||
      compositor_->Opacity() != composite.opacity) {
    compositor_.emplace(composite.op, composite.opacity);
  }
  return *compositor_;
}

void FilterInstance::Update(const uint8_t* in, uint8_t* out) {
  const size_t count = size_t(width_) * size_t(height_);
  ToArgb(in, count, input_.data());
  FrameComposite composite;
  const DrawResult drawn =
      DrawFrame(settings_.Controls(), width_, height_, input_.data(), output_.data(), composite);
  if (drawn != DrawResult::kDrawn) {
    if (drawn == DrawResult::kNoTargets && !toldTooLarge_) {
      toldTooLarge_ = true;
      PrintMessage("a " + std::to_string(width_) + " x " + std::to_string(height_) +
                   " frame is too large for the GPU; frames pass through unchanged");
    }
    if (in != out) std::memcpy(out, in, count * 4);
    return;
  }
  if (composite.wanted) CompositeOver(input_.data(), count, Compositor(composite), output_.data());
  ToRgba(output_.data(), count, out);
}

}  // namespace solvane::frei0r
