// Host pixel worlds: layout with padded rows, pixel access at both depths, copies that own
// their pixels, and the whole-world operations (depth change, box-filter downsample).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "host/World.h"
#include "host/WorldOps.h"

namespace solvane::host {
namespace {

TEST(World, PaddedRowsPlacePixelsAtTheirStrideAndKeepThePaddingMarked) {
  World world(3, 2, 32, 12);
  EXPECT_EQ(world.RowBytes(), 3 * 16 + 12);
  EXPECT_EQ(world.Get()->rowbytes, world.RowBytes());
  world.SetPixelFloat(0, 1, {1.0f, -0.5f, 2.0f, 0.25f});
  float stored[4];
  const auto* bytes = reinterpret_cast<const std::byte*>(world.Get()->data);
  std::memcpy(stored, bytes + world.RowBytes(), sizeof stored);
  EXPECT_EQ(stored[0], 1.0f);   // alpha first
  EXPECT_EQ(stored[1], -0.5f);  // negative values are kept as they are
  EXPECT_EQ(stored[3], 0.25f);
  EXPECT_TRUE(world.PaddingIntact());
  const_cast<std::byte*>(bytes)[3 * 16 + 5] = std::byte{0};
  EXPECT_FALSE(world.PaddingIntact());
}

TEST(World, RecordDescribesTheWholeWorldAtOriginZero) {
  World world(5, 4, 8, 3);
  const PF_EffectWorld& def = *world.Get();
  EXPECT_EQ(def.width, 5);
  EXPECT_EQ(def.height, 4);
  EXPECT_EQ(def.rowbytes, 23);
  EXPECT_EQ(def.origin_x, 0);
  EXPECT_EQ(def.origin_y, 0);
  EXPECT_EQ(def.extent_hint.right, 5);
  EXPECT_EQ(def.extent_hint.bottom, 4);
  EXPECT_EQ(DepthOfWorld(def), 8);
  EXPECT_EQ(DepthOfWorld(PF_EffectWorld{}), 0);
  EXPECT_EQ(world.Pixel8(4, 3).alpha, 0);  // transparent black to start with
}

TEST(World, CopiesAndMovesOwnTheirPixels) {
  World a(2, 2, 8);
  a.SetPixel8(1, 1, {255, 10, 20, 30});
  World b = a;
  EXPECT_NE(b.Get()->data, a.Get()->data);
  b.SetPixel8(1, 1, {0, 0, 0, 0});
  EXPECT_EQ(a.Pixel8(1, 1).red, 10);
  const PF_PixelPtr pixels = a.Get()->data;
  World c = std::move(a);
  EXPECT_EQ(c.Get()->data, pixels);
  EXPECT_EQ(c.Pixel8(1, 1).blue, 30);
  EXPECT_TRUE(a.Empty());
  EXPECT_EQ(a.Get()->data, nullptr);
}

TEST(World, RefusesWrongDepthAccessOutOfRangePixelsAndBadSizes) {
  World world(2, 2, 8);
  EXPECT_THROW(world.PixelFloat(0, 0), std::logic_error);
  EXPECT_THROW(world.Pixel8(2, 0), std::out_of_range);
  EXPECT_THROW(world.Pixel8(0, -1), std::out_of_range);
  EXPECT_THROW(World(2, 2, 12), std::invalid_argument);
  EXPECT_THROW(World(-1, 2, 8), std::invalid_argument);
  EXPECT_THROW(World(0x7fffffff, 1, 32), std::length_error);
}

TEST(World, ValuesConvertBetweenScalesWithClampingAndRounding) {
  World world(1, 1, 8);
  world.SetValue(0, 0, {1.5f, 0.5f, -0.2f, std::nanf("")});
  const PF_Pixel8 p = world.Pixel8(0, 0);
  EXPECT_EQ(p.alpha, 255);
  EXPECT_EQ(p.red, 128);  // 127.5 rounds up
  EXPECT_EQ(p.green, 0);
  EXPECT_EQ(p.blue, 0);
  EXPECT_FLOAT_EQ(world.Value(0, 0).red, 128.0f / 255.0f);
}

TEST(World, MaxChannelDifferenceSeesEveryChannelAndSizeMismatches) {
  World a(2, 1, 32);
  World b(2, 1, 32);
  EXPECT_EQ(MaxChannelDifference(a, b), 0.0f);
  b.SetPixelFloat(1, 0, {0, 0, 0, 0.25f});
  EXPECT_FLOAT_EQ(MaxChannelDifference(a, b), 0.25f);
  b.SetPixelFloat(1, 0, {0, std::nanf(""), 0, 0});
  EXPECT_EQ(MaxChannelDifference(a, b), std::numeric_limits<float>::infinity());
  EXPECT_EQ(MaxChannelDifference(a, World(1, 2, 32)), std::numeric_limits<float>::infinity());
}

TEST(WorldOps, BoxDownsampleAveragesBlocksAndPartialEdgeBlocks) {
  World source(3, 3, 32);
  for (A_long y = 0; y < 3; ++y) {
    for (A_long x = 0; x < 3; ++x) source.SetPixelFloat(x, y, {1, float(x + 3 * y), 0, 0});
  }
  const World half = BoxDownsample(source, 2);
  ASSERT_EQ(half.Width(), 2);
  ASSERT_EQ(half.Height(), 2);
  EXPECT_FLOAT_EQ(half.PixelFloat(0, 0).red, (0 + 1 + 3 + 4) / 4.0f);
  EXPECT_FLOAT_EQ(half.PixelFloat(1, 0).red, (2 + 5) / 2.0f);  // right edge: one column
  EXPECT_FLOAT_EQ(half.PixelFloat(0, 1).red, (6 + 7) / 2.0f);  // bottom edge: one row
  EXPECT_FLOAT_EQ(half.PixelFloat(1, 1).red, 8.0f);            // corner: one pixel
  EXPECT_FLOAT_EQ(half.PixelFloat(1, 1).alpha, 1.0f);
  EXPECT_THROW(BoxDownsample(source, 0), std::invalid_argument);
}

// Straight colour averages weighted by alpha: a transparent pixel, whatever colour it
// holds, does not darken or tint the visible one beside it.
TEST(WorldOps, DownsampleWeightsStraightColourByAlpha) {
  World source(2, 2, 32);
  source.SetPixelFloat(0, 0, {1.0f, 0.8f, 0.2f, 0.4f});
  source.SetPixelFloat(1, 0, {0.0f, 0.0f, 1.0f, 7.0f});  // transparent: no say in the colour
  source.SetPixelFloat(0, 1, {0.5f, 0.2f, 0.2f, 0.4f});
  source.SetPixelFloat(1, 1, {0.5f, 0.2f, 0.2f, 0.4f});
  const PF_PixelFloat p = BoxDownsample(source, 2).PixelFloat(0, 0);
  EXPECT_FLOAT_EQ(p.alpha, 0.5f);
  EXPECT_FLOAT_EQ(p.red, (0.8f + 0.1f + 0.1f) / 2.0f);
  EXPECT_FLOAT_EQ(p.green, 0.2f);
  EXPECT_FLOAT_EQ(p.blue, 0.4f);
  // A block with no alpha at all keeps the plain mean of its colour.
  World clear(2, 1, 32);
  clear.SetPixelFloat(0, 0, {0, 0.2f, 0, 0});
  clear.SetPixelFloat(1, 0, {0, 0.6f, 0, 0});
  EXPECT_FLOAT_EQ(BoxDownsample(clear, 2).PixelFloat(0, 0).red, 0.4f);
}

TEST(WorldOps, EightBitDownsampleRoundsTheExactWeightedMean) {
  World source(2, 1, 8, 2);
  source.SetPixel8(0, 0, {255, 0, 10, 200});
  source.SetPixel8(1, 0, {85, 255, 10, 0});
  const PF_Pixel8 p = BoxDownsample(source, 2).Pixel8(0, 0);
  EXPECT_EQ(p.alpha, 170);
  EXPECT_EQ(p.red, 64);  // 255 * 85 / 340 = 63.75
  EXPECT_EQ(p.green, 10);
  EXPECT_EQ(p.blue, 150);  // 200 * 255 / 340
  World halves(2, 1, 8);
  halves.SetPixel8(0, 0, {200, 1, 0, 0});
  halves.SetPixel8(1, 0, {201, 2, 10, 21});
  const PF_Pixel8 q = BoxDownsample(halves, 2).Pixel8(0, 0);
  EXPECT_EQ(q.alpha, 201);  // 200.5 rounds up
  EXPECT_EQ(q.red, 2);      // (200 + 402) / 401 = 1.5012
  World clear(2, 1, 8);
  clear.SetPixel8(0, 0, {0, 10, 0, 0});
  clear.SetPixel8(1, 0, {0, 21, 0, 0});
  EXPECT_EQ(BoxDownsample(clear, 2).Pixel8(0, 0).red, 16);  // 15.5, no alpha: plain mean
}

TEST(WorldOps, ConvertDepthKeepsValuesOnTheUnitScale) {
  World source(1, 1, 32, 4);
  source.SetPixelFloat(0, 0, {1.0f, 0.2f, 3.0f, -1.0f});
  const World bytes = ConvertDepth(source, 8);
  EXPECT_EQ(bytes.Depth(), 8);
  EXPECT_EQ(bytes.RowBytes(), 4);
  const PF_Pixel8 p = bytes.Pixel8(0, 0);
  EXPECT_EQ(p.alpha, 255);
  EXPECT_EQ(p.red, 51);
  EXPECT_EQ(p.green, 255);
  EXPECT_EQ(p.blue, 0);
  EXPECT_FLOAT_EQ(ConvertDepth(bytes, 32).PixelFloat(0, 0).red, 0.2f);
}

}  // namespace
}  // namespace solvane::host
