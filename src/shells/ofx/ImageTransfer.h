// Pixels between OpenFX images and the render core's frames. OpenFX images are RGBA,
// 8-bit or float, bottom-up (the row at bounds.y1 lies at data, each row above it
// rowBytes further on, which may be negative), premultiplied or not as their properties
// say. Core frames are alpha-first (A, R, G, B), top-down, tightly packed, straight colour.
// Plain memory work, no host calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/gl/PixelView.h"
#include "ofxCore.h"

namespace solvane::ofx {

enum class Alpha : uint8_t { kStraight, kPremultiplied, kOpaque };

struct HostImage {
  void* data = nullptr;
  OfxRectI bounds{};
  ptrdiff_t rowBytes = 0;
  PixelFormat format = PixelFormat::kArgb8;  // the channel type: 8-bit or float
  Alpha alpha = Alpha::kStraight;
};

// A core frame covering `rect` in the host's pixel coordinates; row 0 is its top row
// (rect.y2 - 1).
struct CoreFrame {
  OfxRectI rect{};
  PixelFormat format = PixelFormat::kArgb8;
  std::vector<uint8_t> bytes;

  int32_t Width() const { return rect.x2 - rect.x1; }
  int32_t Height() const { return rect.y2 - rect.y1; }
  PixelView View();
};

// A cleared frame (transparent black) over `rect`.
CoreFrame MakeFrame(const OfxRectI& rect, PixelFormat format);

// The whole host image as a core frame of straight colour.
CoreFrame ImportImage(const HostImage& image);

// Writes the frame's pixels inside `window` (clipped to the image's bounds) into the
// image, in its alpha form; pixels of the window outside the frame become transparent
// black. Nothing outside the window is touched.
void ExportWindow(const CoreFrame& frame, const OfxRectI& window, const HostImage& image);

// The overlap of two rectangles; empty (x2 <= x1 or y2 <= y1) when they do not meet.
OfxRectI Intersection(const OfxRectI& a, const OfxRectI& b);

}  // namespace solvane::ofx
