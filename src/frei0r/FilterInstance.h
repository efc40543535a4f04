// One frei0r instance: the controls it holds for its frame size, the pixel buffers of its
// frames and the messages it has already given. An instance may move between threads but
// is never used by two at once; different instances run at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frei0r/FilterParams.h"
#include "frei0r/FilterRender.h"
#include "pixels/Composite.h"

namespace solvane::frei0r {

class FilterInstance {
 public:
  FilterInstance(int32_t width, int32_t height);

  // frei0r's parameter calls; `param` points at a double, or at a char* for strings.
  void SetParam(int index, const void* param);
  void GetParam(int index, void* param);

  // One frame: `in` and `out` hold width x height RGBA pixels.
  void Update(const uint8_t* in, uint8_t* out);

  const FilterControls& Controls() const { return controls_; }

 private:
  void Warn(size_t index, const std::string& value, const std::string& message);
  const pixels::Compositor8& Compositor(const FrameComposite& composite);

  int32_t width_;
  int32_t height_;
  FilterControls controls_ = DefaultFilterControls();
  std::vector<std::string> itemText_;      // what GetParam hands out for strings
  std::vector<std::string> lastRejected_;  // the last value each parameter was told off for
  std::vector<uint8_t> input_;             // A, R, G, B
  std::vector<uint8_t> output_;
  std::optional<pixels::Compositor8> compositor_;
  bool toldTooLarge_ = false;
};

// One line on standard error, prefixed with the filter's name.
void PrintMessage(const std::string& message);

}  // namespace solvane::frei0r
