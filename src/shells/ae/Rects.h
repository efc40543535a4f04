// The two rectangle operations of the pre-render. Rectangles are the host's PF_LRect,
// right and bottom exclusive.
#pragma once

#include "shells/ae/HostApi.h"

namespace solvane {

bool RectIsEmpty(const PF_LRect& rect);

// Grows `destination` to the bounding box of both; an empty destination becomes a copy of
// the source (even an empty one), an empty source leaves a non-empty destination alone.
void MergeRectInto(const PF_LRect& source, PF_LRect& destination);

// Moves every side out by `amount` pixels.
void GrowRect(PF_LRect& rect, A_long amount);

}  // namespace solvane
