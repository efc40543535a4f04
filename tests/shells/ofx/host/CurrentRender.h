// The render the calling thread is inside, so that the output clip's image is the one
// that thread draws into.
#pragma once

#include "HostImage.h"

namespace solvane::ofx_host {

class Instance;

struct RenderCall {
  const Instance* instance = nullptr;
  HostImage* output = nullptr;
  OfxRectI rod{0, 0, 0, 0};
  double scale = 1.0;
};

// Null outside a render; set for the duration of one.
const RenderCall*& CurrentRenderCall();

}  // namespace solvane::ofx_host
