// The host's compositing: "PF World Transform Suite" v1, whose transfer_rect composites a
// source world over a destination world with Add or Screen at an opacity, on straight
// colour as After Effects' transfer modes do (the rules are pixels/Composite.h).
#pragma once

#include "AE_EffectCBSuites.h"
#include "host/SuiteRegistry.h"

namespace solvane::host {

// transfer_rect as the suite offers it. The source rectangle (the whole source world when
// null) is clipped to the source world; source pixel (left, top) lands at (dest_x, dest_y)
// and whatever falls outside the destination is dropped. Both worlds must be host worlds
// of one depth, 8 or 32 bits; only PF_Xfer_ADD and PF_Xfer_SCREEN with mode flags 0
// (PF_MF_Alpha_PREMUL, as the effect passes them) and no mask are supported. Anything else
// answers PF_Err_BAD_CALLBACK_PARAM, destination untouched. Each call is recorded in the
// current frame (FrameContext).
PF_Err TransferRect(PF_ProgPtr effect_ref, PF_Quality quality, PF_ModeFlags m_flags, PF_Field field,
                    const PF_Rect* src_rec, const PF_EffectWorld* src_world,
                    const PF_CompositeMode* comp_mode, const PF_MaskWorld* mask_world0,
                    A_long dest_x, A_long dest_y, PF_EffectWorld* dst_world);

// Offers "PF World Transform Suite" v1 and "PF World Suite" v2.
void OfferWorldSuites(SuiteRegistry& suites);

}  // namespace solvane::host
