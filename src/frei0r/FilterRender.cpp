#include "frei0r/FilterRender.h"

namespace solvane::frei0r {

// Until the render core takes plain pixel views, the filter passes frames through.
DrawResult DrawFrame(const FilterControls&, int32_t, int32_t, const uint8_t*, uint8_t*,
                     FrameComposite&) {
  return DrawResult::kNoGL;
}

void RetainGL() {}
void ReleaseGL() {}

}  // namespace solvane::frei0r
