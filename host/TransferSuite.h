// The host's compositing: "PF World Transform Suite" v1, whose transfer_rect composites a
// premultiplied source over a destination world with Add or Screen at an opacity, and the
// per-channel formulas it applies, exposed so reference models can use the same rounding.
#pragma once

#include "AE_EffectCBSuites.h"
#include "host/SuiteRegistry.h"

namespace solvane::host {

// Float colour channels: the source is scaled by (opacity / 255) in single precision, then
// Add gives max(0, d + s); Screen gives s + d - s * d (in that order of operations) when
// both lie in 0..1, else max(0, s, d). Never negative; on 0..1 the same formulas as 8 bits.
float CompositeChannelFloat(PF_TransferMode xfer, float source, float destination,
                            A_u_char opacity);
// The float alpha channel: both values (the source scaled by opacity / 255) taken into
// 0..1, then Add gives min(1, d + s) and Screen s + d - s * d: the 8-bit results, unrounded.
float CompositeAlphaFloat(PF_TransferMode xfer, float source, float destination, A_u_char opacity);
// 8-bit channels: the same formulas on the 0-to-255 scale (Screen's product divided by
// 255), computed in double precision from the exact scaled source s * opacity / 255,
// rounded once to the nearest integer (halves up) and clamped to 0..255.
A_u_char CompositeChannel8(PF_TransferMode xfer, A_u_char source, A_u_char destination,
                           A_u_char opacity);

// transfer_rect as the suite offers it. The source rectangle (the whole source world when
// null) is clipped to the source world; source pixel (left, top) lands at (dest_x, dest_y)
// and whatever falls outside the destination is dropped. Both worlds must be host worlds
// of one depth, 8 or 32 bits; only PF_Xfer_ADD and PF_Xfer_SCREEN, premultiplied, with no
// mask are supported. Anything else answers PF_Err_BAD_CALLBACK_PARAM, destination
// untouched. Each call is recorded in the current frame (FrameContext).
PF_Err TransferRect(PF_ProgPtr effect_ref, PF_Quality quality, PF_ModeFlags m_flags, PF_Field field,
                    const PF_Rect* src_rec, const PF_EffectWorld* src_world,
                    const PF_CompositeMode* comp_mode, const PF_MaskWorld* mask_world0,
                    A_long dest_x, A_long dest_y, PF_EffectWorld* dst_world);

// Offers "PF World Transform Suite" v1 and "PF World Suite" v2.
void OfferWorldSuites(SuiteRegistry& suites);

}  // namespace solvane::host
