// The unprocessed input drawn over the rays, where the core placed it in the larger
// output, with the composite the core asked for: the straight-colour Screen or Add of the
// After Effects shell, at its opacity.
#pragma once

#include "core/render/EffectFrame.h"
#include "shells/ofx/ImageTransfer.h"

namespace solvane::ofx {

// Each input pixel goes over the output pixel (offsetX, offsetY) further right and down
// (the core's placement, in rows from the top); output pixels the input does not reach
// keep the rays.
void CompositeInputOver(const CoreFrame& input, int32_t offsetX, int32_t offsetY,
                        const FrameComposite& composite, uint8_t opacity, CoreFrame& output);

}  // namespace solvane::ofx
