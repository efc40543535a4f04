// The After Effects shell's side of pixel transfers: a host world seen as the pixel view
// the GL toolkit and the render core take, and which worlds GL may read or write without
// leaving the host's memory.
#pragma once

#include "core/gl/PixelView.h"
#include "shells/ae/HostApi.h"

namespace solvane {

// The world's pixels as a view, for a depth of 8 or 32 (the only ones that exist). False
// for any other depth, or when GL could not move the view's pixels inside the world's
// memory (see IsTransferable).
bool TransferableView(const PF_EffectWorld& world, int depth, PixelView& view);

}  // namespace solvane
