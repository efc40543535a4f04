// The Screen and Add composites of a layer over a destination, as After Effects' transfer
// modes work: on straight (un-premultiplied) colour, at an opacity. The stand-in host's
// transfer_rect and the frei0r filter both apply them, so every shell gives the same
// picture. Plain arithmetic on alpha-first (A, R, G, B) pixels, no host types.
//
// Per pixel, with the source alpha scaled by opacity / 255 (as: source, ad: destination):
//   alpha  = as + ad - as * ad
//   colour = ((1 - as) * ad * Cd + (1 - ad) * as * Cs + as * ad * B(Cd, Cs)) / alpha,
//            0 where alpha is 0,
// with Screen B = Cs + Cd - Cs * Cd and Add B = Cs + Cd. Over an opaque destination of
// light c in its "Unmult" form (c / b, b) an opaque layer s gives s + c - s * c.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace solvane::pixels {

enum class BlendOp : uint8_t { kScreen, kAdd };

using Argb8 = std::array<uint8_t, 4>;
using ArgbFloat = std::array<float, 4>;

// What each part of a composited pixel is made of: the destination alone, the source
// alone and both blended, already divided by the result's alpha.
template <typename T>
struct Weights {
  T alpha, destination, source, blend;
};

// The blend of two float colour values. Add: max(0, s + d), light adds up past 1. Screen:
// s + d - s * d where both lie in 0..1; beyond that range (light brighter than white) the
// brighter value wins, max(0, s, d), which meets the product formula at the edges of 0..1
// and never turns bright light dark or negative.
float BlendFloat(BlendOp op, float source, float destination);

// The float composite. Alphas are taken into 0..1 first; the colour is never negative.
ArgbFloat CompositeFloat(BlendOp op, const ArgbFloat& source, const ArgbFloat& destination,
                         uint8_t opacity);

// The 8-bit composite: the bytes' 0..1 values through the formulas above in double
// precision, Add's blend clamped to 1, then alpha and each colour rounded once to the
// nearest code value (halves up) and clamped to 0..255. Where nothing clips it agrees with
// CompositeFloat within one code value.
Argb8 Composite8(BlendOp op, const Argb8& source, const Argb8& destination, uint8_t opacity);

// Composite8 for one mode and opacity over a whole frame, with the same bytes at a fraction
// of its cost in the common cases. An opaque pixel over an opaque one (a layer over opaque
// rays) depends on the two colours alone and is looked up from a table of every such pair;
// an opaque pixel over a translucent one (a layer over Unmult rays) takes its weights from
// a table of the 256 destination alphas; every other pixel is computed.
class Compositor8 {
 public:
  Compositor8(BlendOp op, uint8_t opacity);
  BlendOp Op() const { return op_; }
  uint8_t Opacity() const { return opacity_; }
  Argb8 operator()(const Argb8& source, const Argb8& destination) const;

 private:
  BlendOp op_;
  uint8_t opacity_;
  std::vector<uint8_t> opaqueTable_;  // [source colour << 8 | destination colour]
  std::array<Weights<double>, 256> opaqueSourceWeights_;  // [destination alpha]
};

}  // namespace solvane::pixels
