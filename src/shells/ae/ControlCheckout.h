// The After Effects side of the derivation: the controls checked out of the host into a
// ControlValues record, the host's downsample factor, and the render values made from them.
#pragma once

#include "shells/ae/HostApi.h"
#include "core/controls/ControlValues.h"
#include "core/render/RenderParams.h"

namespace solvane {

// Checks out controls 1 to 40 at the current time, checking every one back in even after a
// failure; the checkouts stop at the first failure. Returns the first host error; the
// controls checked out before it are filled in.
PF_Err CheckOutControls(PF_InData* in_data, ControlValues& controls);

// Checks the controls out and derives the frame's values from them. After a failed host
// call the values are derived from whatever was checked out (the rest reads as zero) and
// the first error is returned; the render refuses the frame before any GL work then.
PF_Err GatherRenderParams(PF_InData* in_data, const FrameGeometry& frame, RenderParams& params);

// The horizontal downsample factor, divided in single precision as the host's own
// rounding of it would be, then widened. The vertical factor is not used anywhere.
double DownsampleScale(const PF_RationalScale& downsample);

}  // namespace solvane
