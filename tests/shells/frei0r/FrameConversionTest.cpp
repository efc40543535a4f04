// The filter's frame conversion: frei0r's straight R, G, B, A bytes to the render core's
// A, R, G, B and back with the values unchanged, and its composite, the host's own.
#include <gtest/gtest.h>

#include <vector>

#include "shells/frei0r/FrameConversion.h"

namespace solvane::frei0r {
namespace {

TEST(FrameConversion, ChannelsMoveFromRgbaToArgbAndBackWithTheirValues) {
  // Colour under alpha 0 and under soft alpha stays as it is: frames are straight.
  const uint8_t rgba[12] = {10, 20, 30, 255, 200, 100, 50, 0, 90, 180, 240, 64};
  uint8_t argb[12];
  ToArgb(rgba, 3, argb);
  EXPECT_EQ(std::vector<uint8_t>(argb, argb + 12),
            (std::vector<uint8_t>{255, 10, 20, 30, 0, 200, 100, 50, 64, 90, 180, 240}));
  uint8_t back[12];
  ToRgba(argb, 3, back);
  EXPECT_EQ(std::vector<uint8_t>(back, back + 12), std::vector<uint8_t>(rgba, rgba + 12));
}

TEST(FrameConversion, CompositeIsTheSharedStraightRule) {
  // An opaque layer over rays of light (0.30118, 0.6, 0.04941) in their Unmult form:
  // s + c - s * c, as the host's transfer_rect gives; then a half-transparent pair.
  const uint8_t input[8] = {255, 102, 51, 230, 102, 204, 51, 0};
  uint8_t output[8] = {153, 128, 255, 21, 153, 102, 153, 255};
  CompositeOver(input, 2, pixels::Compositor8(pixels::BlendOp::kScreen, 255), output);
  EXPECT_EQ(std::vector<uint8_t>(output, output + 8),
            (std::vector<uint8_t>{255, 148, 173, 231, 194, 162, 138, 201}));
}

}  // namespace
}  // namespace solvane::frei0r
