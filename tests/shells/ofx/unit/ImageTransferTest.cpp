#include "shells/ofx/ImageTransfer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace solvane::ofx {
namespace {

// A host image over `bounds` in memory the test owns, bottom-up with positive or negative
// row bytes (the row at bounds.y1 first in memory, or last).
template <typename T>
struct TestImage {
  std::vector<T> pixels;
  HostImage image;

  TestImage(OfxRectI bounds, bool negativeRows, Alpha alpha, int padPixels = 0) {
    const int width = bounds.x2 - bounds.x1, height = bounds.y2 - bounds.y1;
    const int rowPixels = width + padPixels;
    pixels.assign(size_t(rowPixels) * height * 4, T(7));
    image.bounds = bounds;
    image.alpha = alpha;
    image.format = sizeof(T) == 1 ? PixelFormat::kArgb8 : PixelFormat::kArgbFloat;
    const ptrdiff_t rowBytes = ptrdiff_t(rowPixels) * 4 * sizeof(T);
    image.rowBytes = negativeRows ? -rowBytes : rowBytes;
    image.data = negativeRows ? pixels.data() + size_t(rowPixels) * (height - 1) * 4
                              : pixels.data();
  }
  // RGBA of pixel (x, y) in host coordinates.
  T* At(int x, int y) {
    auto* row = static_cast<uint8_t*>(image.data) + (y - image.bounds.y1) * image.rowBytes;
    return reinterpret_cast<T*>(row) + (x - image.bounds.x1) * 4;
  }
};

// The frame's row 0 is the host's top row; channels turn from RGBA to ARGB.
TEST(OfxImageTransfer, ImportFlipsRowsAndReordersChannelsForBothRowDirections) {
  for (bool negative : {false, true}) {
    TestImage<uint8_t> host({10, 20, 13, 22}, negative, Alpha::kStraight, 2);
    const uint8_t top[4] = {1, 2, 3, 200};
    std::memcpy(host.At(10, 21), top, 4);
    const CoreFrame frame = ImportImage(host.image);
    ASSERT_EQ(frame.Width(), 3);
    ASSERT_EQ(frame.Height(), 2);
    EXPECT_EQ(frame.bytes[0], 200);
    EXPECT_EQ(frame.bytes[1], 1);
    EXPECT_EQ(frame.bytes[2], 2);
    EXPECT_EQ(frame.bytes[3], 3);
  }
}

TEST(OfxImageTransfer, PremultipliedColourIsStraightInTheFrameAndPremultipliedAgainOnExport) {
  TestImage<float> host({0, 0, 1, 1}, true, Alpha::kPremultiplied);
  const float premultiplied[4] = {0.25f, 0.1f, 0.0f, 0.5f};
  std::memcpy(host.At(0, 0), premultiplied, sizeof premultiplied);
  const CoreFrame frame = ImportImage(host.image);
  const auto* argb = reinterpret_cast<const float*>(frame.bytes.data());
  EXPECT_FLOAT_EQ(argb[0], 0.5f);
  EXPECT_FLOAT_EQ(argb[1], 0.5f);
  EXPECT_FLOAT_EQ(argb[2], 0.2f);

  TestImage<float> out({0, 0, 1, 1}, false, Alpha::kPremultiplied);
  ExportWindow(frame, {0, 0, 1, 1}, out.image);
  for (int c = 0; c < 4; ++c) EXPECT_NEAR(out.At(0, 0)[c], premultiplied[c], 1e-7) << c;
}

TEST(OfxImageTransfer, EightBitPremultipliedRoundTripsWithinOneCodeValue) {
  TestImage<uint8_t> host({0, 0, 256, 1}, false, Alpha::kPremultiplied);
  for (int a = 0; a < 256; ++a) {
    const uint8_t px[4] = {uint8_t(a / 2), uint8_t(a), 0, uint8_t(a)};
    std::memcpy(host.At(a, 0), px, 4);
  }
  const CoreFrame frame = ImportImage(host.image);
  TestImage<uint8_t> out({0, 0, 256, 1}, false, Alpha::kPremultiplied);
  ExportWindow(frame, {0, 0, 256, 1}, out.image);
  for (int a = 1; a < 256; ++a) {
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(out.At(a, 0)[c], host.At(a, 0)[c], 1) << a;
  }
}

// Only the window is written; the window's pixels beyond the frame are transparent black.
TEST(OfxImageTransfer, ExportWritesTheWindowOnlyAndClearsWhatTheFrameDoesNotCover) {
  CoreFrame frame = MakeFrame({0, 0, 4, 4}, PixelFormat::kArgb8);
  std::fill(frame.bytes.begin(), frame.bytes.end(), uint8_t(255));
  TestImage<uint8_t> out({-2, -2, 6, 6}, true, Alpha::kStraight);
  ExportWindow(frame, {-1, 1, 2, 3}, out.image);
  for (int y = -2; y < 6; ++y) {
    for (int x = -2; x < 6; ++x) {
      const bool inWindow = x >= -1 && x < 2 && y >= 1 && y < 3;
      const uint8_t expected = !inWindow ? 7 : x >= 0 ? 255 : 0;
      EXPECT_EQ(out.At(x, y)[0], expected) << x << "," << y;
    }
  }
}

TEST(OfxImageTransfer, AWindowBeyondTheImageIsClippedToIt) {
  CoreFrame frame = MakeFrame({0, 0, 2, 2}, PixelFormat::kArgbFloat);
  TestImage<float> out({0, 0, 2, 2}, false, Alpha::kStraight);
  ExportWindow(frame, {-100, -100, 100, 100}, out.image);  // would write outside if unclipped
  EXPECT_EQ(out.At(1, 1)[3], 0.0f);
  EXPECT_EQ(out.pixels.size(), 16u);
}

}  // namespace
}  // namespace solvane::ofx
