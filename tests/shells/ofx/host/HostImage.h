// Images the host owns: RGBA, 8-bit or float channels, any bounds in pixel coordinates.
// OpenFX images are bottom-up: the row at bounds.y1 starts at Data() and each row above
// lies RowBytes() further on. Rows may be padded (the padding holds kPadByte, so tests can
// see a write past a row) and RowBytes() may be negative (rows stored top row first).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "ofxCore.h"

namespace solvane::ofx_host {

enum class Depth { kByte, kFloat };
const char* DepthName(Depth depth);  // kOfxBitDepthByte or kOfxBitDepthFloat
int BytesPerPixel(Depth depth);

using Rgba = std::array<float, 4>;  // on the 0-to-1 scale

struct ImageLayout {
  OfxRectI bounds{0, 0, 0, 0};
  Depth depth = Depth::kFloat;
  int rowPadding = 0;  // bytes after each row's pixels
  bool negativeRowBytes = false;
};

class HostImage {
 public:
  static constexpr std::byte kPadByte{0xA5};

  // Pixels start as `fill`. Throws std::invalid_argument for empty or inverted bounds or
  // negative padding.
  explicit HostImage(const ImageLayout& layout, Rgba fill = {0, 0, 0, 0});
  // Copies and moves keep the layout: Data() points into the new storage.
  HostImage(const HostImage& other);
  HostImage& operator=(const HostImage& other);
  HostImage(HostImage&& other) noexcept;
  HostImage& operator=(HostImage&& other) noexcept;

  const OfxRectI& Bounds() const { return layout_.bounds; }
  int Width() const { return layout_.bounds.x2 - layout_.bounds.x1; }
  int Height() const { return layout_.bounds.y2 - layout_.bounds.y1; }
  Depth PixelDepth() const { return layout_.depth; }
  const ImageLayout& Layout() const { return layout_; }
  int RowBytes() const { return rowBytes_; }
  void* Data() { return data_; }
  const void* Data() const { return data_; }

  bool Contains(int x, int y) const;
  // Pixel (x, y) in the bounds' coordinates; std::out_of_range outside them. A byte image
  // stores round(v * 255) of v clamped to 0..1.
  Rgba Get(int x, int y) const;
  void Set(int x, int y, const Rgba& value);
  void Fill(const Rgba& value);
  bool PaddingIntact() const;

  // What the premultiplication property says the pixels hold.
  std::string premultiplication;
  double pixelAspectRatio = 1.0;

 private:
  std::byte* Address(int x, int y);
  const std::byte* Address(int x, int y) const;

  ImageLayout layout_;
  int stride_ = 0;  // |RowBytes()|
  int rowBytes_ = 0;
  std::vector<std::byte> storage_;
  std::byte* data_ = nullptr;
};

// The largest difference of any channel over the pixels both images have, with the
// position of the worst one; a size mismatch is reported by `sameBounds`.
struct ImageDifference {
  bool sameBounds = false;
  float largest = 0;
  int x = 0, y = 0, channel = 0;
};
ImageDifference CompareImages(const HostImage& a, const HostImage& b);

}  // namespace solvane::ofx_host
