// A caller-owned rectangle of pixels, the one shape in which pixels cross between a host's
// buffers and GL. Channels lie in memory as alpha, red, green, blue in both formats, the
// order hosts hand over; rows are rowBytes apart and may be padded.
#pragma once

#include <cstddef>
#include <cstdint>

namespace solvane {

enum class PixelFormat : uint8_t { kArgb8, kArgbFloat };

// 4 for 8-bit channels, 16 for 32-bit float channels.
int BytesPerPixel(PixelFormat format);

struct PixelView {
  void* data = nullptr;
  ptrdiff_t rowBytes = 0;  // distance between row starts, in bytes
  int32_t width = 0;
  int32_t height = 0;
  PixelFormat format = PixelFormat::kArgb8;
};

// True when GL can move the view's width x height pixels at its row pitch without going
// outside the memory it describes: rows at least a pixel row long and a whole number of
// pixels apart (GL's row length counts pixels), and pixel memory for a non-empty view.
// An empty view (a side of 0) is always transferable; a negative side never is.
bool IsTransferable(const PixelView& view);

}  // namespace solvane
