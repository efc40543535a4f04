// One frei0r instance: the parameter values it holds (FilterSettings), the pixel buffers of
// its frames and the messages it has already given. An instance may move between threads
// but is never used by two at once; different instances run at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shells/frei0r/FilterRender.h"
#include "shells/frei0r/FilterSettings.h"
#include "core/pixels/Composite.h"

namespace solvane::frei0r {

class FilterInstance {
 public:
  FilterInstance(int32_t width, int32_t height);

  // frei0r's parameter calls; `param` points at a double, or at a char* for strings.
  void SetParam(int index, const void* param) { settings_.SetParam(index, param); }
  void GetParam(int index, void* param) { settings_.GetParam(index, param); }

  // One frame: `in` and `out` hold width x height RGBA pixels.
  void Update(const uint8_t* in, uint8_t* out);

  const FilterControls& Controls() const { return settings_.Controls(); }

 private:
  const pixels::Compositor8& Compositor(const FrameComposite& composite);

  int32_t width_;
  int32_t height_;
  FilterSettings settings_;
  std::vector<uint8_t> input_;  // A, R, G, B
  std::vector<uint8_t> output_;
  std::optional<pixels::Compositor8> compositor_;
  bool toldTooLarge_ = false;
};

}  // namespace solvane::frei0r
