// Which pixel views GL may move without leaving their memory; no context needed.
#include <gtest/gtest.h>

#include <cstdint>

#include "PixelView.h"

namespace solvane {
namespace {

// IsTransferable reads no pixels, so any address that is not null stands for the memory.
PixelView View(int32_t width, int32_t height, ptrdiff_t rowBytes, PixelFormat format) {
  static uint8_t somewhere;
  return {&somewhere, rowBytes, width, height, format};
}

TEST(PixelViews, BytesPerPixelFollowTheFormat) {
  EXPECT_EQ(BytesPerPixel(PixelFormat::kArgb8), 4);
  EXPECT_EQ(BytesPerPixel(PixelFormat::kArgbFloat), 16);
}

TEST(PixelViews, RowsMustHoldAWholeRowOfWholePixels) {
  for (const PixelFormat format : {PixelFormat::kArgb8, PixelFormat::kArgbFloat}) {
    const int bpp = BytesPerPixel(format);
    EXPECT_TRUE(IsTransferable(View(3, 2, 3 * bpp, format)));
    EXPECT_TRUE(IsTransferable(View(3, 2, 5 * bpp, format)));       // padded rows
    EXPECT_FALSE(IsTransferable(View(3, 2, 2 * bpp, format)));      // rows overlap
    EXPECT_FALSE(IsTransferable(View(3, 2, 3 * bpp + 2, format)));  // not whole pixels
    EXPECT_FALSE(IsTransferable(View(3, 2, -3 * bpp, format)));
  }
}

TEST(PixelViews, EmptyViewsNeedNoMemoryAndNegativeSidesAreRefused) {
  PixelView empty = View(0, 5, 0, PixelFormat::kArgbFloat);
  empty.data = nullptr;
  EXPECT_TRUE(IsTransferable(empty));
  PixelView noData = View(2, 2, 8, PixelFormat::kArgb8);
  noData.data = nullptr;
  EXPECT_FALSE(IsTransferable(noData));
  EXPECT_FALSE(IsTransferable(View(-1, 2, 16, PixelFormat::kArgb8)));
  EXPECT_FALSE(IsTransferable(View(2, -1, 16, PixelFormat::kArgb8)));
}

}  // namespace
}  // namespace solvane
