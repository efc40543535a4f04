// The filter's frame conversion: frei0r's straight R, G, B, A bytes to the render core's
// premultiplied A, R, G, B and back, by the shared rules, and its own composite.
#include <gtest/gtest.h>

#include <vector>

#include "frei0r/FrameConversion.h"
#include "pixels/StraightAlpha.h"

namespace solvane::frei0r {
namespace {

TEST(FrameConversion, ChannelsMoveFromRgbaToArgbAndBack) {
  const uint8_t rgba[8] = {10, 20, 30, 255, 200, 100, 50, 0};
  uint8_t argb[8];
  ToPremultipliedArgb(rgba, 2, argb);
  EXPECT_EQ(std::vector<uint8_t>(argb, argb + 8),
            (std::vector<uint8_t>{255, 10, 20, 30, 0, 0, 0, 0}));
  uint8_t back[8];
  ToStraightRgba(argb, 2, back);
  EXPECT_EQ(std::vector<uint8_t>(back, back + 8),
            (std::vector<uint8_t>{10, 20, 30, 255, 0, 0, 0, 0}));
}

// Every (value, alpha) pair in one frame: red and blue carry the value, green its mirror.
TEST(FrameConversion, EveryPairFollowsTheSharedRules) {
  std::vector<uint8_t> rgba(256 * 256 * 4);
  for (size_t i = 0; i < 256 * 256; ++i) {
    rgba[i * 4 + 0] = uint8_t(i & 255);
    rgba[i * 4 + 1] = uint8_t(255 - (i & 255));
    rgba[i * 4 + 2] = uint8_t(i & 255);
    rgba[i * 4 + 3] = uint8_t(i >> 8);
  }
  std::vector<uint8_t> argb(rgba.size()), back(rgba.size());
  ToPremultipliedArgb(rgba.data(), 256 * 256, argb.data());
  ToStraightRgba(argb.data(), 256 * 256, back.data());
  int wrong = 0;
  for (size_t i = 0; i < 256 * 256; ++i) {
    const uint8_t a = uint8_t(i >> 8);
    for (int c = 0; c < 3; ++c) {
      const uint8_t premultiplied = pixels::Premultiply8(rgba[i * 4 + c], a);
      wrong += argb[i * 4 + 1 + c] != premultiplied;
      wrong += back[i * 4 + c] != pixels::Unpremultiply8(premultiplied, a);
    }
    wrong += argb[i * 4] != a || back[i * 4 + 3] != a;
  }
  EXPECT_EQ(wrong, 0);
}

TEST(FrameConversion, CompositeAppliesTheSharedByteRuleToAllFourChannels) {
  const uint8_t input[8] = {255, 128, 10, 0, 128, 128, 128, 128};
  uint8_t output[8] = {0, 128, 250, 77, 128, 0, 255, 64};
  const uint8_t before[8] = {0, 128, 250, 77, 128, 0, 255, 64};
  CompositeOver(input, 2, pixels::ByteCompositor(pixels::BlendOp::kScreen, 254), output);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(output[i],
              pixels::CompositeChannel8(pixels::BlendOp::kScreen, input[i], before[i], 254))
        << i;
  }
  uint8_t added[4] = {200, 200, 200, 200};
  CompositeOver(input, 1, pixels::ByteCompositor(pixels::BlendOp::kAdd, 255), added);
  EXPECT_EQ(std::vector<uint8_t>(added, added + 4), (std::vector<uint8_t>{255, 255, 210, 200}));
}

}  // namespace
}  // namespace solvane::frei0r
