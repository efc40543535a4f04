#include "HostImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "ofxImageEffect.h"

namespace solvane::ofx_host {

const char* DepthName(Depth depth) {
  return depth == Depth::kByte ? kOfxBitDepthByte : kOfxBitDepthFloat;
}

int BytesPerPixel(Depth depth) {
  return depth == Depth::kByte ? 4 : 16;
}

HostImage::HostImage(const ImageLayout& layout, Rgba fill)
    : premultiplication(kOfxImageUnPreMultiplied), layout_(layout) {
  if (Width() <= 0 || Height() <= 0 || layout.rowPadding < 0) {
    throw std::invalid_argument("an image needs bounds with x1 < x2 and y1 < y2 and padding >= 0");
  }
  stride_ = Width() * BytesPerPixel(layout.depth) + layout.rowPadding;
  storage_.assign(size_t(stride_) * size_t(Height()), kPadByte);
  if (layout.negativeRowBytes) {
    rowBytes_ = -stride_;
    data_ = storage_.data() + size_t(stride_) * size_t(Height() - 1);
  } else {
    rowBytes_ = stride_;
    data_ = storage_.data();
  }
  Fill(fill);
}

HostImage::HostImage(const HostImage& other) {
  *this = other;
}

HostImage& HostImage::operator=(const HostImage& other) {
  if (this == &other) return *this;
  premultiplication = other.premultiplication;
  pixelAspectRatio = other.pixelAspectRatio;
  layout_ = other.layout_;
  stride_ = other.stride_;
  rowBytes_ = other.rowBytes_;
  storage_ = other.storage_;
  data_ = storage_.data() + (other.data_ - other.storage_.data());
  return *this;
}

HostImage::HostImage(HostImage&& other) noexcept {
  *this = std::move(other);
}

HostImage& HostImage::operator=(HostImage&& other) noexcept {
  if (this == &other) return *this;
  const std::ptrdiff_t offset = other.data_ - other.storage_.data();
  premultiplication = std::move(other.premultiplication);
  pixelAspectRatio = other.pixelAspectRatio;
  layout_ = other.layout_;
  stride_ = other.stride_;
  rowBytes_ = other.rowBytes_;
  storage_ = std::move(other.storage_);
  data_ = storage_.data() + offset;
  other.data_ = nullptr;
  return *this;
}

bool HostImage::Contains(int x, int y) const {
  const OfxRectI& b = layout_.bounds;
  return x >= b.x1 && x < b.x2 && y >= b.y1 && y < b.y2;
}

std::byte* HostImage::Address(int x, int y) {
  return const_cast<std::byte*>(static_cast<const HostImage&>(*this).Address(x, y));
}

const std::byte* HostImage::Address(int x, int y) const {
  if (!Contains(x, y)) {
    throw std::out_of_range("pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                            ") is outside the image");
  }
  const std::ptrdiff_t row = std::ptrdiff_t(y - layout_.bounds.y1) * rowBytes_;
  return data_ + row + std::ptrdiff_t(x - layout_.bounds.x1) * BytesPerPixel(layout_.depth);
}

Rgba HostImage::Get(int x, int y) const {
  const std::byte* p = Address(x, y);
  Rgba value{};
  if (layout_.depth == Depth::kFloat) {
    std::memcpy(value.data(), p, sizeof value);
  } else {
    for (int c = 0; c < 4; ++c) value[size_t(c)] = float(std::to_integer<int>(p[c])) / 255.0f;
  }
  return value;
}

void HostImage::Set(int x, int y, const Rgba& value) {
  std::byte* p = Address(x, y);
  if (layout_.depth == Depth::kFloat) {
    std::memcpy(p, value.data(), sizeof value);
    return;
  }
  for (int c = 0; c < 4; ++c) {
    const float v = std::clamp(value[size_t(c)], 0.0f, 1.0f);
    p[c] = std::byte(int(std::lround(v * 255.0f)));
  }
}

void HostImage::Fill(const Rgba& value) {
  for (int y = layout_.bounds.y1; y < layout_.bounds.y2; ++y) {
    for (int x = layout_.bounds.x1; x < layout_.bounds.x2; ++x) Set(x, y, value);
  }
}

bool HostImage::PaddingIntact() const {
  const size_t pixels = size_t(Width()) * size_t(BytesPerPixel(layout_.depth));
  for (size_t row = 0; row < size_t(Height()); ++row) {
    const auto begin = storage_.begin() + std::ptrdiff_t(row * size_t(stride_) + pixels);
    const auto end = storage_.begin() + std::ptrdiff_t((row + 1) * size_t(stride_));
    if (!std::all_of(begin, end, [](std::byte b) { return b == kPadByte; })) return false;
  }
  return true;
}

ImageDifference CompareImages(const HostImage& a, const HostImage& b) {
  ImageDifference d;
  const OfxRectI& ra = a.Bounds();
  const OfxRectI& rb = b.Bounds();
  d.sameBounds = ra.x1 == rb.x1 && ra.y1 == rb.y1 && ra.x2 == rb.x2 && ra.y2 == rb.y2;
  for (int y = std::max(ra.y1, rb.y1); y < std::min(ra.y2, rb.y2); ++y) {
    for (int x = std::max(ra.x1, rb.x1); x < std::min(ra.x2, rb.x2); ++x) {
      const Rgba pa = a.Get(x, y), pb = b.Get(x, y);
      for (int c = 0; c < 4; ++c) {
        const float diff = std::fabs(pa[size_t(c)] - pb[size_t(c)]);
        // NaN counts as the largest difference there is.
        if (diff > d.largest || std::isnan(diff)) {
          d = {d.sameBounds, std::isnan(diff) ? INFINITY : diff, x, y, c};
        }
      }
    }
  }
  return d;
}

}  // namespace solvane::ofx_host
