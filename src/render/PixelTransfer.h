// The contract between host pixel buffers and GL: the depths that exist, and which
// buffers GL may read or write without leaving the host's memory.
#pragma once

#include "plugin/HostApi.h"

namespace solvane {

// Bytes per ARGB pixel of a depth: 4 for 8 bits, 16 for 32-bit float, 0 for any other.
int BytesPerPixel(int depth);

// True when GL can move the world's width × height pixels at its row pitch without going
// outside the buffer: a known depth, rows at least a pixel row long and a whole number of
// pixels apart (GL's row length counts pixels), and pixel memory for a non-empty world.
bool IsTransferableWorld(const PF_EffectWorld& world, int depth);

}  // namespace solvane
