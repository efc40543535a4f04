// One frei0r instance: the parameter values it holds (FilterSettings), the pixel buffers of
// its frames and the messages it has already given. An instance may move between threads;
// MLT also runs one instance's f0r_update on several threads at once, one band of a frame
// each (its `threads` property), while no parameter changes: frame calls share nothing
// they write but the pool and the compositor, both behind locks.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "shells/frei0r/FilterRender.h"
#include "shells/frei0r/FilterSettings.h"
#include "shells/frei0r/FrameScratch.h"
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
  std::shared_ptr<const pixels::Compositor8> Compositor(const FrameComposite& composite);

  int32_t width_;
  int32_t height_;
  FilterSettings settings_;
  ScratchPool scratch_;
  std::mutex compositorMutex_;
  std::shared_ptr<const pixels::Compositor8> compositor_;
  std::atomic<bool> toldTooLarge_{false};
};

}  // namespace solvane::frei0r
