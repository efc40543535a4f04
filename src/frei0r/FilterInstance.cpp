#include "frei0r/FilterInstance.h"

#include <cstdio>
#include <cstring>

#include "frei0r/FrameConversion.h"
#include "frei0r/Frei0rApi.h"

namespace solvane::frei0r {

void PrintMessage(const std::string& message) {
  std::fprintf(stderr, "solvane: %s\n", message.c_str());
}

FilterInstance::FilterInstance(int32_t width, int32_t height)
    : width_(width),
      height_(height),
      itemText_(FilterParams().size()),
      lastRejected_(FilterParams().size()),
      input_(size_t(width) * size_t(height) * 4),
      output_(input_.size()) {}

void FilterInstance::SetParam(int index, const void* param) {
  const std::vector<FilterParam>& params = FilterParams();
  if (index < 0 || size_t(index) >= params.size() || param == nullptr) return;
  const FilterParam& p = params[size_t(index)];
  if (p.frei0rType == F0R_PARAM_STRING) {
    const char* text = *static_cast<const char* const*>(param);
    if (text == nullptr) return;
    if (SetItem(controls_, p, text) == SetResult::kKept) {
      Warn(size_t(index), text,
           "\"" + p.name + "\" has no item \"" + text + "\"; it stays " +
               std::string(ItemOf(controls_, p)) + " (items: " + ItemList(p) + ")");
    }
    return;
  }
  const double v = *static_cast<const double*>(param);
  switch (SetNumber(controls_, p, v)) {
    case SetResult::kKept:
      Warn(size_t(index), "nan",
           "\"" + p.name + "\" cannot be NaN; it stays " + FormatNumber(NumberOf(controls_, p)));
      break;
    case SetResult::kClamped:
      Warn(size_t(index), FormatNumber(v),
           "\"" + p.name + "\" " + FormatNumber(v) + " is out of range; it is clamped to " +
               FormatNumber(NumberOf(controls_, p)));
      break;
    case SetResult::kApplied:
      lastRejected_[size_t(index)].clear();
      break;
  }
}

void FilterInstance::GetParam(int index, void* param) {
  const std::vector<FilterParam>& params = FilterParams();
  if (index < 0 || size_t(index) >= params.size() || param == nullptr) return;
  const FilterParam& p = params[size_t(index)];
  if (p.frei0rType == F0R_PARAM_STRING) {
    itemText_[size_t(index)] = ItemOf(controls_, p);
    *static_cast<char**>(param) = itemText_[size_t(index)].data();
  } else {
    *static_cast<double*>(param) = NumberOf(controls_, p);
  }
}

// Hosts set every parameter before every frame, so a bad value would be told off once a
// frame; it is told once, until the parameter is given another value.
void FilterInstance::Warn(size_t index, const std::string& value, const std::string& message) {
  if (lastRejected_[index] == value) return;
  lastRejected_[index] = value;
  PrintMessage(message);
}

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
      DrawFrame(controls_, width_, height_, input_.data(), output_.data(), composite);
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
