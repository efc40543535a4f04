// A small effect linked into the tests, driven through the stand-in host in place of the
// module, so that frame rendering and the render pool can be checked on their own: its
// pre-render grows the layer by `grow` pixels, its render copies the input into the output
// at the layer's place (optionally composited by the host) and stamps the frame's time.
// A thread-local object with a destructor stands for the effect's per-thread resources.
#pragma once

#include <atomic>

#include "AE_Effect.h"

namespace solvane::host::fake {

struct Behaviour {
  A_long grow = 1;             // result_rect = checkout result grown by this on every side
  bool composite = false;      // Screen the input over the output with transfer_rect
  A_long checkoutId = 0;       // the id the render asks checkout_layer_pixels for
  int renderMilliseconds = 0;  // how long each render takes
};

Behaviour& Settings();
// Threads that have rendered and not yet ended; threads whose clean-up has run.
std::atomic<int>& LiveThreadResources();
std::atomic<int>& ReleasedThreadResources();

PF_Err EntryPoint(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                  PF_LayerDef* output, void* extra);

}  // namespace solvane::host::fake
