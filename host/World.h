// Pixel worlds the stand-in host owns: alpha-first (A, R, G, B) pixels of straight
// (un-premultiplied) colour, as After Effects' worlds hold them, with 8-bit, 16-bit or
// 32-bit float channels, rows `rowbytes` apart with optional padding.
// The type tests and tools use for every image they hand the effect or get back from it.
#pragma once

#include <cstddef>
#include <vector>

#include "AE_Effect.h"
#include "AE_EffectCBSuites.h"  // PF_PixelFormat, which Adobe declares beside the suites

namespace solvane::host {

// The 16-bit channel range of the host interface: 0 to 32768.
inline constexpr float kMax16 = 32768.0f;
// The byte the host writes into row padding, so tests can see whether anybody wrote there.
inline constexpr std::byte kPaddingByte{0xA5};

// Bytes of one pixel at `depth` bits per channel (8, 16 or 32); 0 for any other depth.
A_long BytesPerPixel(int depth);
// The pixel format the host reports for a depth (PF_PixelFormat_INVALID for 16 and others).
PF_PixelFormat PixelFormatOfDepth(int depth);
// The depth a world was made with, read from the host's tag in the record; 0 when the
// record is not one of the host's worlds.
int DepthOfWorld(const PF_EffectWorld& world);

class World {
 public:
  World() = default;  // 0 x 0, 8 bits, no pixels
  // Transparent black pixels; rows are width * bytes per pixel + rowPadding bytes apart and
  // their padding holds kPaddingByte. Throws std::invalid_argument for a negative size or
  // padding, or a depth other than 8, 16 or 32.
  World(A_long width, A_long height, int depth, A_long rowPadding = 0);
  World(const World& other);
  World& operator=(const World& other);
  World(World&& other) noexcept;
  World& operator=(World&& other) noexcept;
  ~World() = default;

  A_long Width() const { return def_.width; }
  A_long Height() const { return def_.height; }
  A_long RowBytes() const { return def_.rowbytes; }
  int Depth() const { return depth_; }
  bool Empty() const { return def_.width == 0 || def_.height == 0; }

  // The record handed to the effect. Its origin and extent_hint may be changed freely; the
  // pixel accessors below keep using the layout the world was made with.
  PF_EffectWorld* Get() { return &def_; }
  const PF_EffectWorld* Get() const { return &def_; }

  // Channels at the world's own depth; std::logic_error at another depth, std::out_of_range
  // outside the world.
  PF_Pixel8 Pixel8(A_long x, A_long y) const;
  void SetPixel8(A_long x, A_long y, PF_Pixel8 pixel);
  PF_PixelFloat PixelFloat(A_long x, A_long y) const;
  void SetPixelFloat(A_long x, A_long y, PF_PixelFloat pixel);

  // Any depth, as floats on the 0-to-1 scale. Writing an integer depth clamps to its range
  // and rounds to the nearest step.
  PF_PixelFloat Value(A_long x, A_long y) const;
  void SetValue(A_long x, A_long y, PF_PixelFloat value);
  void Fill(PF_PixelFloat value);

  // True while every padding byte still holds kPaddingByte.
  bool PaddingIntact() const;

 private:
  std::byte* PixelAddress(A_long x, A_long y);
  const std::byte* PixelAddress(A_long x, A_long y) const;
  void CheckDepth(int depth) const;
  void Rebind();

  PF_EffectWorld def_{};
  int depth_ = 8;
  A_long rowBytes_ = 0;  // the layout the storage was made with
  std::vector<std::byte> storage_;
};

// The largest difference of any channel between two worlds of one size, on the 0-to-1
// scale; infinity when the sizes differ.
float MaxChannelDifference(const World& a, const World& b);

// Whether two worlds have one size and row pitch and the same bytes, padding included.
bool SameBytes(const World& a, const World& b);

}  // namespace solvane::host
