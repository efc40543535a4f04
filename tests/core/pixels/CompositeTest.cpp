// The shared composite's fast paths (a table for an opaque pair, a table of weights for an
// opaque pixel over a translucent one) give the bytes the full computation gives, for every
// pair of colours and destination alphas, both modes and the opacities the effect uses.
#include <gtest/gtest.h>

#include "core/pixels/Composite.h"

namespace solvane::pixels {
namespace {

TEST(Composite, TheFastPathsGiveTheComputedBytes) {
  for (BlendOp op : {BlendOp::kScreen, BlendOp::kAdd}) {
    for (int opacity : {0, 127, 254, 255}) {
      const Compositor8 composite(op, uint8_t(opacity));
      int mismatches = 0;
      for (int s = 0; s < 256; ++s) {
        for (int d = 0; d < 256; ++d) {
          const Argb8 source{255, uint8_t(s), uint8_t(255 - s), uint8_t(d)};
          // Half the pairs over an opaque destination, half over every other alpha.
          const uint8_t alpha = (s + d) % 2 == 0 ? 255 : uint8_t(d);
          const Argb8 destination{alpha, uint8_t(d), uint8_t(s), uint8_t(255 - d)};
          mismatches += composite(source, destination) !=
                        Composite8(op, source, destination, uint8_t(opacity));
        }
      }
      EXPECT_EQ(mismatches, 0) << "opacity " << opacity;
    }
  }
}

TEST(Composite, PixelsThatAreNotBothOpaqueAreComputed) {
  const Compositor8 composite(BlendOp::kScreen, 255);
  for (int a = 0; a < 255; a += 17) {
    const Argb8 soft{uint8_t(a), 200, 100, 50};
    const Argb8 opaque{255, 10, 20, 30};
    EXPECT_EQ(composite(soft, opaque), Composite8(BlendOp::kScreen, soft, opaque, 255)) << a;
    EXPECT_EQ(composite(opaque, soft), Composite8(BlendOp::kScreen, opaque, soft, 255)) << a;
  }
}

// Opaque over opaque, at full opacity, is the blend itself: Screen 128 over 128 is
// 0.50196 + 0.50196 - 0.25197 = 0.75196 (191.75), Add 200 + 100 clamps at 255.
TEST(Composite, OpaqueOverOpaqueIsTheBlend) {
  EXPECT_EQ(Composite8(BlendOp::kScreen, {255, 128, 0, 255}, {255, 128, 77, 3}, 255),
            (Argb8{255, 192, 77, 255}));
  EXPECT_EQ(Composite8(BlendOp::kAdd, {255, 200, 100, 1}, {255, 100, 100, 0}, 255),
            (Argb8{255, 255, 200, 1}));
}

}  // namespace
}  // namespace solvane::pixels
