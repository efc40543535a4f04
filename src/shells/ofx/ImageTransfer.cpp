#include "shells/ofx/ImageTransfer.h"

#include <algorithm>

#include "core/pixels/StraightAlpha.h"

namespace solvane::ofx {
namespace {

// Channel values as 0..1 floats and back, per channel type.
float Unit(uint8_t v) { return float(v) / 255.0f; }
float Unit(float v) { return v; }
void Store(float v, uint8_t& out) { out = pixels::UnitToByte(v); }
void Store(float v, float& out) { out = v; }

// One RGBA pixel into an ARGB one of straight colour.
template <typename T>
void ImportPixel(const T* rgba, Alpha alpha, T* argb) {
  argb[0] = rgba[3];
  if (alpha != Alpha::kPremultiplied || Unit(rgba[3]) == 1.0f) {
    argb[1] = rgba[0], argb[2] = rgba[1], argb[3] = rgba[2];
    return;
  }
  const float a = Unit(rgba[3]);
  for (int c = 0; c < 3; ++c) Store(pixels::Unpremultiply(Unit(rgba[c]), a), argb[c + 1]);
}

template <typename T>
void ExportPixel(const T* argb, Alpha alpha, T* rgba) {
  rgba[3] = argb[0];
  if (alpha != Alpha::kPremultiplied || Unit(argb[0]) == 1.0f) {
    rgba[0] = argb[1], rgba[1] = argb[2], rgba[2] = argb[3];
    return;
  }
  // Premultiply's rule with the alpha taken into 0..1 once for the three colours.
  const float a = pixels::ClampToUnit(Unit(argb[0]));
  for (int c = 0; c < 3; ++c) Store(Unit(argb[c + 1]) * a, rgba[c]);
}

// The host row at pixel row y (host coordinates) and the frame row holding it.
uint8_t* HostRow(const HostImage& image, int32_t y) {
  return static_cast<uint8_t*>(image.data) + ptrdiff_t(y - image.bounds.y1) * image.rowBytes;
}

size_t FrameRowBytes(const CoreFrame& frame) {
  return size_t(frame.Width()) * size_t(BytesPerPixel(frame.format));
}

template <typename T>
T* FramePixel(CoreFrame& frame, int32_t x, int32_t y) {
  uint8_t* row = frame.bytes.data() + size_t(frame.rect.y2 - 1 - y) * FrameRowBytes(frame);
  return reinterpret_cast<T*>(row) + size_t(x - frame.rect.x1) * 4;
}

template <typename T>
const T* FramePixel(const CoreFrame& frame, int32_t x, int32_t y) {
  return FramePixel<T>(const_cast<CoreFrame&>(frame), x, y);
}

template <typename T>
void Import(const HostImage& image, CoreFrame& frame) {
  for (int32_t y = frame.rect.y1; y < frame.rect.y2; ++y) {
    const T* in = reinterpret_cast<const T*>(HostRow(image, y));
    T* out = FramePixel<T>(frame, frame.rect.x1, y);
    for (int32_t x = 0; x < frame.Width(); ++x) ImportPixel(in + 4 * x, image.alpha, out + 4 * x);
  }
}

// A row of pixels starting at host column `x0`.
template <typename T>
struct Row {
  T* data;
  int32_t x0;
  T* At(int32_t x) const { return data + ptrdiff_t(x - x0) * 4; }
};

// One host row of the window: the frame's pixels where it covers the row (columns from, to),
// transparent black either side of them.
template <typename T>
void ExportRow(Row<const T> frame, int32_t from, int32_t to, int32_t x1, int32_t x2, Alpha alpha,
               Row<T> host) {
  const T zero[4] = {};
  for (int32_t x = x1; x < x2; ++x) {
    ExportPixel(x >= from && x < to ? frame.At(x) : zero, alpha, host.At(x));
  }
}

template <typename T>
void Export(const CoreFrame& frame, const OfxRectI& window, const HostImage& image) {
  const OfxRectI inside = Intersection(window, frame.rect);
  for (int32_t y = window.y1; y < window.y2; ++y) {
    const Row<T> host{reinterpret_cast<T*>(HostRow(image, y)), image.bounds.x1};
    if (y >= inside.y1 && y < inside.y2) {
      const Row<const T> covered{FramePixel<T>(frame, frame.rect.x1, y), frame.rect.x1};
      ExportRow(covered, inside.x1, inside.x2, window.x1, window.x2, image.alpha, host);
    } else {
      ExportRow(Row<const T>{nullptr, 0}, 0, 0, window.x1, window.x2, image.alpha, host);
    }
  }
}

}  // namespace

PixelView CoreFrame::View() {
  return {bytes.data(), ptrdiff_t(FrameRowBytes(*this)), Width(), Height(), format};
}

CoreFrame MakeFrame(const OfxRectI& rect, PixelFormat format) {
  CoreFrame frame;
  frame.rect = rect;
  frame.format = format;
  const int32_t width = std::max(0, rect.x2 - rect.x1);
  const int32_t height = std::max(0, rect.y2 - rect.y1);
  frame.rect.x2 = rect.x1 + width;
  frame.rect.y2 = rect.y1 + height;
  frame.bytes.assign(size_t(width) * size_t(height) * size_t(BytesPerPixel(format)), 0);
  return frame;
}

CoreFrame ImportImage(const HostImage& image) {
  CoreFrame frame = MakeFrame(image.bounds, image.format);
  if (image.format == PixelFormat::kArgbFloat) {
    Import<float>(image, frame);
  } else {
    Import<uint8_t>(image, frame);
  }
  return frame;
}

void ExportWindow(const CoreFrame& frame, const OfxRectI& window, const HostImage& image) {
  const OfxRectI clipped = Intersection(window, image.bounds);
  if (clipped.x2 <= clipped.x1 || clipped.y2 <= clipped.y1) return;
  if (image.format == PixelFormat::kArgbFloat) {
    Export<float>(frame, clipped, image);
  } else {
    Export<uint8_t>(frame, clipped, image);
  }
}

OfxRectI Intersection(const OfxRectI& a, const OfxRectI& b) {
  return {std::max(a.x1, b.x1), std::max(a.y1, b.y1), std::min(a.x2, b.x2),
          std::min(a.y2, b.y2)};
}

}  // namespace solvane::ofx
