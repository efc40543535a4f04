#include "host/World.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>

namespace solvane::host {
namespace {

// The host tags its own worlds in a field the effect never reads, so that the world suite
// and transfer_rect can tell their depth from the record alone, as After Effects can.
constexpr A_long kTagMask = 0x7fffff00;
constexpr A_long kTag = 0x51525700;  // 'QRW' and the depth in the low byte

float Unit(float v) {
  return std::isnan(v) ? 0.0f : std::clamp(v, 0.0f, 1.0f);
}
A_u_char ToByte(float v) {
  return A_u_char(std::lround(Unit(v) * 255.0f));
}
A_u_short ToShort(float v) {
  return A_u_short(std::lround(Unit(v) * kMax16));
}

// A NaN on one side only is as different as it gets; NaN on both sides counts as equal.
float ChannelDifference(float p, float q) {
  if (std::isnan(p) || std::isnan(q)) {
    return std::isnan(p) && std::isnan(q) ? 0.0f : std::numeric_limits<float>::infinity();
  }
  return std::fabs(p - q);
}

}  // namespace

A_long BytesPerPixel(int depth) {
  switch (depth) {
    case 8:
      return 4;
    case 16:
      return 8;
    case 32:
      return 16;
    default:
      return 0;
  }
}

PF_PixelFormat PixelFormatOfDepth(int depth) {
  switch (depth) {
    case 8:
      return PF_PixelFormat_ARGB32;
    case 32:
      return PF_PixelFormat_ARGB128;
    default:
      return PF_PixelFormat_INVALID;
  }
}

int DepthOfWorld(const PF_EffectWorld& world) {
  if ((world.reserved_long3 & kTagMask) != kTag) return 0;
  const int depth = world.reserved_long3 & 0xff;
  return BytesPerPixel(depth) != 0 ? depth : 0;
}

World::World(A_long width, A_long height, int depth, A_long rowPadding) : depth_(depth) {
  if (width < 0 || height < 0 || rowPadding < 0) {
    throw std::invalid_argument("a world needs a non-negative size and row padding");
  }
  if (BytesPerPixel(depth) == 0) {
    throw std::invalid_argument("a world has 8, 16 or 32 bits per channel, not " +
                                std::to_string(depth));
  }
  const int64_t rowBytes = int64_t(width) * BytesPerPixel(depth) + rowPadding;
  if (rowBytes > std::numeric_limits<A_long>::max()) {
    throw std::length_error("a world row of " + std::to_string(rowBytes) +
                            " bytes does not fit the host's 32-bit row stride");
  }
  rowBytes_ = A_long(rowBytes);
  storage_.assign(size_t(rowBytes_) * size_t(height), std::byte{0});
  const size_t pixelBytes = size_t(width) * size_t(BytesPerPixel(depth));
  for (A_long y = 0; y < height; ++y) {
    std::byte* row = storage_.data() + size_t(y) * size_t(rowBytes_);
    std::fill(row + pixelBytes, row + rowBytes_, kPaddingByte);
  }
  def_.world_flags = PF_WorldFlag_WRITEABLE;
  def_.rowbytes = rowBytes_;
  def_.width = width;
  def_.height = height;
  def_.extent_hint = {0, 0, width, height};
  def_.pix_aspect_ratio = {1, 1};
  def_.reserved_long3 = kTag | depth;
  Rebind();
}

World::World(const World& other)
    : def_(other.def_), depth_(other.depth_), rowBytes_(other.rowBytes_), storage_(other.storage_) {
  Rebind();
}

World& World::operator=(const World& other) {
  if (this != &other) {
    World copy(other);
    *this = std::move(copy);
  }
  return *this;
}

World::World(World&& other) noexcept
    : def_(other.def_),
      depth_(other.depth_),
      rowBytes_(other.rowBytes_),
      storage_(std::move(other.storage_)) {
  Rebind();
  other = World();
}

World& World::operator=(World&& other) noexcept {
  if (this != &other) {
    def_ = other.def_;
    depth_ = other.depth_;
    rowBytes_ = other.rowBytes_;
    storage_ = std::move(other.storage_);
    Rebind();
    other.def_ = PF_EffectWorld{};
    other.depth_ = 8;
    other.rowBytes_ = 0;
    other.storage_.clear();
  }
  return *this;
}

// Points the record at this world's own storage (after a copy or move, or when empty).
void World::Rebind() {
  def_.data = storage_.empty() ? nullptr : reinterpret_cast<PF_PixelPtr>(storage_.data());
}

void World::CheckDepth(int depth) const {
  if (depth_ != depth) {
    throw std::logic_error("a " + std::to_string(depth_) + "-bit world read or written as " +
                           std::to_string(depth) + "-bit");
  }
}

const std::byte* World::PixelAddress(A_long x, A_long y) const {
  if (x < 0 || y < 0 || x >= def_.width || y >= def_.height) {
    throw std::out_of_range("pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                            ") lies outside the world");
  }
  return storage_.data() + size_t(y) * size_t(rowBytes_) + size_t(x) * BytesPerPixel(depth_);
}

std::byte* World::PixelAddress(A_long x, A_long y) {
  return const_cast<std::byte*>(std::as_const(*this).PixelAddress(x, y));
}

// Rows may be padded by any number of bytes, so pixels are copied rather than cast.
PF_Pixel8 World::Pixel8(A_long x, A_long y) const {
  CheckDepth(8);
  PF_Pixel8 pixel;
  std::memcpy(&pixel, PixelAddress(x, y), sizeof pixel);
  return pixel;
}

void World::SetPixel8(A_long x, A_long y, PF_Pixel8 pixel) {
  CheckDepth(8);
  std::memcpy(PixelAddress(x, y), &pixel, sizeof pixel);
}

PF_PixelFloat World::PixelFloat(A_long x, A_long y) const {
  CheckDepth(32);
  PF_PixelFloat pixel;
  std::memcpy(&pixel, PixelAddress(x, y), sizeof pixel);
  return pixel;
}

void World::SetPixelFloat(A_long x, A_long y, PF_PixelFloat pixel) {
  CheckDepth(32);
  std::memcpy(PixelAddress(x, y), &pixel, sizeof pixel);
}

PF_PixelFloat World::Value(A_long x, A_long y) const {
  if (depth_ == 32) return PixelFloat(x, y);
  if (depth_ == 8) {
    const PF_Pixel8 p = Pixel8(x, y);
    return {p.alpha / 255.0f, p.red / 255.0f, p.green / 255.0f, p.blue / 255.0f};
  }
  A_u_short c[4];
  std::memcpy(c, PixelAddress(x, y), sizeof c);
  return {c[0] / kMax16, c[1] / kMax16, c[2] / kMax16, c[3] / kMax16};
}

void World::SetValue(A_long x, A_long y, PF_PixelFloat v) {
  if (depth_ == 32) {
    SetPixelFloat(x, y, v);
  } else if (depth_ == 8) {
    SetPixel8(x, y, {ToByte(v.alpha), ToByte(v.red), ToByte(v.green), ToByte(v.blue)});
  } else {
    const A_u_short c[4] = {ToShort(v.alpha), ToShort(v.red), ToShort(v.green), ToShort(v.blue)};
    std::memcpy(PixelAddress(x, y), c, sizeof c);
  }
}

void World::Fill(PF_PixelFloat value) {
  for (A_long y = 0; y < def_.height; ++y) {
    for (A_long x = 0; x < def_.width; ++x) SetValue(x, y, value);
  }
}

bool World::PaddingIntact() const {
  const size_t pixelBytes = size_t(def_.width) * size_t(BytesPerPixel(depth_));
  for (A_long y = 0; y < def_.height; ++y) {
    const std::byte* row = storage_.data() + size_t(y) * size_t(rowBytes_);
    if (std::any_of(row + pixelBytes, row + rowBytes_,
                    [](std::byte b) { return b != kPaddingByte; })) {
      return false;
    }
  }
  return true;
}

bool SameBytes(const World& a, const World& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.RowBytes() != b.RowBytes()) {
    return false;
  }
  const size_t bytes = size_t(a.RowBytes()) * size_t(a.Height());
  return bytes == 0 || std::memcmp(a.Get()->data, b.Get()->data, bytes) == 0;
}

float MaxChannelDifference(const World& a, const World& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) {
    return std::numeric_limits<float>::infinity();
  }
  float worst = 0.0f;
  for (A_long y = 0; y < a.Height(); ++y) {
    for (A_long x = 0; x < a.Width(); ++x) {
      const PF_PixelFloat p = a.Value(x, y);
      const PF_PixelFloat q = b.Value(x, y);
      worst = std::max({worst, ChannelDifference(p.alpha, q.alpha), ChannelDifference(p.red, q.red),
                        ChannelDifference(p.green, q.green), ChannelDifference(p.blue, q.blue)});
    }
  }
  return worst;
}

}  // namespace solvane::host
