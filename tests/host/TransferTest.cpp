// The host's composite (transfer_rect of "PF World Transform Suite" v1) on small worlds:
// the Add and Screen formulas at both depths and several opacities, placement and
// clipping, padded rows, refusals; and "PF World Suite" v2.
#include <gtest/gtest.h>

#include "AE_EffectCBSuites.h"
#include "host/Host.h"
#include "host/TransferSuite.h"
#include "host/World.h"
#include "host/WorldSuite.h"

namespace solvane::host {
namespace {

class Transfer : public ::testing::Test {
 protected:
  PF_Err Run(const World& source, A_long x, A_long y, World& dest, PF_TransferMode xfer,
             A_u_char opacity, const PF_Rect* rect = nullptr) {
    PF_CompositeMode mode{xfer, 0, opacity, false, 0};
    return TransferRect(Ref(), PF_Quality_HI, PF_MF_Alpha_PREMUL, PF_Field_FRAME, rect,
                        source.Get(), &mode, nullptr, x, y, dest.Get());
  }
  PF_ProgPtr Ref() { return reinterpret_cast<PF_ProgPtr>(&host_); }

  Host host_{SOLVANE_MODULE_PATH};
};

TEST_F(Transfer, FloatAddScalesBySourceOpacityKeepsAlphaAtMostOneAndColourNeverNegative) {
  World source(1, 1, 32);
  World dest(1, 1, 32);
  source.SetPixelFloat(0, 0, {1.0f, 0.8f, -0.5f, 2.0f});
  dest.SetPixelFloat(0, 0, {1.0f, 0.5f, 0.25f, 1.0f});
  ASSERT_EQ(Run(source, 0, 0, dest, PF_Xfer_ADD, 255), PF_Err_NONE);
  const PF_PixelFloat p = dest.PixelFloat(0, 0);
  EXPECT_FLOAT_EQ(p.alpha, 1.0f);  // an opaque layer added to an opaque one stays opaque
  EXPECT_FLOAT_EQ(p.red, 1.3f);    // colour adds up past 1: light is not clamped
  EXPECT_FLOAT_EQ(p.green, 0.0f);  // a negative source takes no light away below black
  EXPECT_FLOAT_EQ(p.blue, 3.0f);
  EXPECT_FLOAT_EQ(CompositeChannelFloat(PF_Xfer_ADD, 1.0f, 0.5f, 254), 0.5f + 254.0f / 255.0f);
  EXPECT_FLOAT_EQ(CompositeChannelFloat(PF_Xfer_ADD, 1.0f, 0.5f, 127), 0.5f + 127.0f / 255.0f);
  EXPECT_EQ(CompositeChannelFloat(PF_Xfer_ADD, 1.0f, 0.5f, 0), 0.5f);
  EXPECT_FLOAT_EQ(CompositeAlphaFloat(PF_Xfer_ADD, 0.25f, 0.5f, 255), 0.75f);
  EXPECT_FLOAT_EQ(CompositeAlphaFloat(PF_Xfer_ADD, 0.75f, 0.5f, 255), 1.0f);
}

TEST_F(Transfer, FloatScreenAboveOneTakesTheBrighterValueAndNeverGoesDark) {
  // s + d - s * d would give 2 + 3 - 6 = -1 and 2 + 0.5 - 1 = 1.5 < 2.
  EXPECT_EQ(CompositeChannelFloat(PF_Xfer_SCREEN, 2.0f, 3.0f, 255), 3.0f);
  EXPECT_EQ(CompositeChannelFloat(PF_Xfer_SCREEN, 2.0f, 0.5f, 255), 2.0f);
  EXPECT_EQ(CompositeChannelFloat(PF_Xfer_SCREEN, 0.5f, 1.5f, 255), 1.5f);
  EXPECT_EQ(CompositeChannelFloat(PF_Xfer_SCREEN, -0.5f, -0.25f, 255), 0.0f);
  EXPECT_EQ(CompositeChannelFloat(PF_Xfer_SCREEN, -0.5f, 0.25f, 255), 0.25f);
  // The two rules meet where a value reaches 1, so the result does not jump there.
  EXPECT_EQ(CompositeChannelFloat(PF_Xfer_SCREEN, 1.0f, 0.4f, 255), 1.0f);
  EXPECT_NEAR(CompositeChannelFloat(PF_Xfer_SCREEN, 1.0001f, 0.4f, 255), 1.0f, 1e-3f);
  for (float s : {-1.0f, 0.0f, 0.3f, 1.0f, 4.0f}) {
    for (float d : {-1.0f, 0.0f, 0.6f, 1.0f, 7.0f}) {
      EXPECT_GE(CompositeChannelFloat(PF_Xfer_SCREEN, s, d, 200), 0.0f) << s << " " << d;
      EXPECT_LE(CompositeAlphaFloat(PF_Xfer_SCREEN, s, d, 255), 1.0f) << s << " " << d;
      EXPECT_GE(CompositeAlphaFloat(PF_Xfer_ADD, s, d, 255), 0.0f) << s << " " << d;
    }
  }
}

// The same picture composited at 8 and at 32 bits agrees within one code value in every
// channel wherever the 8-bit result does not clip (Screen never clips; Add clips at 255).
TEST_F(Transfer, FloatAgreesWithEightBitWhereEightBitDoesNotClip) {
  constexpr int kSize = 64;
  World source8(kSize, kSize, 8), dest8(kSize, kSize, 8);
  World source32(kSize, kSize, 32), dest32(kSize, kSize, 32);
  for (PF_TransferMode xfer : {PF_Xfer_ADD, PF_Xfer_SCREEN}) {
    for (A_u_char opacity : {A_u_char(255), A_u_char(254), A_u_char(100)}) {
      for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
          // Premultiplied pixels: colour at most alpha, covering the whole 0..255 range.
          const A_u_char sa = A_u_char(x * 4 + 3), da = A_u_char(y * 4 + 3);
          const PF_Pixel8 s{sa, A_u_char(sa * (y % 8) / 7), A_u_char(sa / 2), sa};
          const PF_Pixel8 d{da, A_u_char(da * (x % 8) / 7), da, A_u_char(da / 3)};
          source8.SetPixel8(x, y, s);
          dest8.SetPixel8(x, y, d);
          const auto f = [](A_u_char v) { return float(v) / 255.0f; };
          source32.SetPixelFloat(x, y, {f(s.alpha), f(s.red), f(s.green), f(s.blue)});
          dest32.SetPixelFloat(x, y, {f(d.alpha), f(d.red), f(d.green), f(d.blue)});
        }
      }
      ASSERT_EQ(Run(source8, 0, 0, dest8, xfer, opacity), PF_Err_NONE);
      ASSERT_EQ(Run(source32, 0, 0, dest32, xfer, opacity), PF_Err_NONE);
      int compared = 0;
      for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
          const PF_Pixel8 e = dest8.Pixel8(x, y);
          const PF_PixelFloat p = dest32.PixelFloat(x, y);
          const A_u_char bytes[4] = {e.alpha, e.red, e.green, e.blue};
          const float floats[4] = {p.alpha, p.red, p.green, p.blue};
          EXPECT_LE(p.alpha, 1.0f);
          for (int c = 0; c < 4; ++c) {
            EXPECT_GE(floats[c], 0.0f);
            if (bytes[c] == 255) continue;
            ++compared;
            EXPECT_NEAR(floats[c] * 255.0f, bytes[c], 1.0f)
                << "mode " << xfer << " opacity " << int(opacity) << " at " << x << "," << y
                << " channel " << c;
          }
        }
      }
      EXPECT_GT(compared, kSize * kSize * 2);
    }
  }
}

TEST_F(Transfer, FloatScreenAppliesToEveryChannelIncludingAlpha) {
  World source(1, 1, 32);
  World dest(1, 1, 32);
  source.SetPixelFloat(0, 0, {0.5f, 0.5f, 1.0f, 0.0f});
  dest.SetPixelFloat(0, 0, {0.5f, 0.25f, 0.3f, 0.7f});
  ASSERT_EQ(Run(source, 0, 0, dest, PF_Xfer_SCREEN, 255), PF_Err_NONE);
  const PF_PixelFloat p = dest.PixelFloat(0, 0);
  EXPECT_FLOAT_EQ(p.alpha, 0.75f);
  EXPECT_FLOAT_EQ(p.red, 0.625f);
  EXPECT_FLOAT_EQ(p.green, 1.0f);
  EXPECT_FLOAT_EQ(p.blue, 0.7f);
  const float s = 0.5f * (127.0f / 255.0f);
  EXPECT_FLOAT_EQ(CompositeChannelFloat(PF_Xfer_SCREEN, 0.5f, 0.25f, 127), s + 0.25f - s * 0.25f);
}

TEST_F(Transfer, EightBitAddClampsAndScreenRoundsOnce) {
  World source(1, 1, 8);
  World dest(1, 1, 8);
  source.SetPixel8(0, 0, {255, 200, 100, 1});
  dest.SetPixel8(0, 0, {255, 100, 100, 0});
  ASSERT_EQ(Run(source, 0, 0, dest, PF_Xfer_ADD, 255), PF_Err_NONE);
  const PF_Pixel8 p = dest.Pixel8(0, 0);
  EXPECT_EQ(p.alpha, 255);
  EXPECT_EQ(p.red, 255);  // 300 clamps
  EXPECT_EQ(p.green, 200);
  EXPECT_EQ(p.blue, 1);
  // 100 * 254 / 255 = 99.608 -> 100; at 127: 49.80 -> 50; at 0 the destination stays.
  EXPECT_EQ(CompositeChannel8(PF_Xfer_ADD, 100, 0, 254), 100);
  EXPECT_EQ(CompositeChannel8(PF_Xfer_ADD, 100, 0, 127), 50);
  EXPECT_EQ(CompositeChannel8(PF_Xfer_ADD, 100, 7, 0), 7);
  // Screen 128 over 128: 128 + 128 - 128 * 128 / 255 = 191.75 -> 192.
  EXPECT_EQ(CompositeChannel8(PF_Xfer_SCREEN, 128, 128, 255), 192);
  EXPECT_EQ(CompositeChannel8(PF_Xfer_SCREEN, 255, 3, 255), 255);
  EXPECT_EQ(CompositeChannel8(PF_Xfer_SCREEN, 0, 77, 255), 77);
}

TEST_F(Transfer, SourceLandsAtTheDestinationPointAndWhatFallsOutsideIsDropped) {
  World source(3, 2, 8);
  for (A_long y = 0; y < 2; ++y) {
    for (A_long x = 0; x < 3; ++x)
      source.SetPixel8(x, y, {255, A_u_char(10 * (x + 3 * y + 1)), 0, 0});
  }
  World dest(4, 4, 8, 3);
  ASSERT_EQ(Run(source, 2, 3, dest, PF_Xfer_ADD, 255), PF_Err_NONE);
  EXPECT_EQ(dest.Pixel8(2, 3).red, 10);  // source (0, 0)
  EXPECT_EQ(dest.Pixel8(3, 3).red, 20);  // source (1, 0); (2, 0) and row 1 fall outside
  EXPECT_EQ(dest.Pixel8(1, 3).alpha, 0);
  EXPECT_EQ(dest.Pixel8(3, 2).alpha, 0);
  EXPECT_TRUE(dest.PaddingIntact());
  World shifted(2, 2, 8);
  ASSERT_EQ(Run(source, -1, -1, shifted, PF_Xfer_ADD, 255), PF_Err_NONE);
  EXPECT_EQ(shifted.Pixel8(0, 0).red, 50);  // source (1, 1)
  EXPECT_EQ(shifted.Pixel8(1, 0).red, 60);
  EXPECT_EQ(shifted.Pixel8(0, 1).alpha, 0);
}

TEST_F(Transfer, SourceRectangleIsClippedToTheSourceWorld) {
  World source(2, 2, 32, 8);
  source.Fill({1, 1, 1, 1});
  World dest(4, 4, 32);
  // A rectangle as large as the destination, as the effect passes the output's extent.
  const PF_Rect rect{0, 0, 4, 4};
  ASSERT_EQ(Run(source, 1, 1, dest, PF_Xfer_ADD, 255, &rect), PF_Err_NONE);
  int covered = 0;
  for (A_long y = 0; y < 4; ++y) {
    for (A_long x = 0; x < 4; ++x) covered += dest.PixelFloat(x, y).alpha == 1.0f ? 1 : 0;
  }
  EXPECT_EQ(covered, 4);
  EXPECT_EQ(dest.PixelFloat(1, 1).alpha, 1.0f);
  EXPECT_EQ(dest.PixelFloat(2, 2).alpha, 1.0f);
  // A rectangle starting inside the source: its top-left corner lands at (x, y).
  World corner(2, 2, 32);
  const PF_Rect inner{1, 1, 5, 5};
  ASSERT_EQ(Run(source, 0, 0, corner, PF_Xfer_ADD, 255, &inner), PF_Err_NONE);
  EXPECT_EQ(corner.PixelFloat(0, 0).alpha, 1.0f);
  EXPECT_EQ(corner.PixelFloat(1, 1).alpha, 0.0f);
}

TEST_F(Transfer, AWorldCompositedOntoItselfReadsTheOriginalPixels) {
  World world(3, 1, 8);
  world.SetPixel8(0, 0, {100, 100, 0, 0});
  world.SetPixel8(1, 0, {100, 100, 0, 0});
  ASSERT_EQ(Run(world, 1, 0, world, PF_Xfer_ADD, 255), PF_Err_NONE);
  EXPECT_EQ(world.Pixel8(1, 0).alpha, 200);
  EXPECT_EQ(world.Pixel8(2, 0).alpha, 100);  // not 300 clamped: (1, 0) was read before
}

TEST_F(Transfer, RefusesWhatItCannotCompositeAndLeavesTheDestination) {
  World source(1, 1, 8);
  source.SetPixel8(0, 0, {255, 255, 255, 255});
  World dest(1, 1, 8);
  World deep(1, 1, 32);
  EXPECT_EQ(Run(source, 0, 0, deep, PF_Xfer_ADD, 255), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(Run(source, 0, 0, dest, PF_Xfer_MULTIPLY, 255), PF_Err_BAD_CALLBACK_PARAM);
  World sixteen(1, 1, 16);
  EXPECT_EQ(Run(sixteen, 0, 0, sixteen, PF_Xfer_ADD, 255), PF_Err_BAD_CALLBACK_PARAM);
  PF_EffectWorld foreign = *dest.Get();
  foreign.reserved_long3 = 0;  // not a world the host made: its depth is unknown
  PF_CompositeMode mode{PF_Xfer_ADD, 0, 255, false, 0};
  EXPECT_EQ(TransferRect(Ref(), 0, PF_MF_Alpha_PREMUL, 0, nullptr, source.Get(), &mode, nullptr, 0,
                         0, &foreign),
            PF_Err_BAD_CALLBACK_PARAM);
  PF_EffectWorld narrow = *dest.Get();
  narrow.rowbytes = 2;
  EXPECT_EQ(TransferRect(Ref(), 0, PF_MF_Alpha_PREMUL, 0, nullptr, source.Get(), &mode, nullptr, 0,
                         0, &narrow),
            PF_Err_BAD_CALLBACK_PARAM);
  PF_MaskWorld mask{};
  EXPECT_EQ(TransferRect(Ref(), 0, PF_MF_Alpha_PREMUL, 0, nullptr, source.Get(), &mode, &mask, 0, 0,
                         dest.Get()),
            PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(TransferRect(Ref(), 0, PF_MF_Alpha_STRAIGHT, 0, nullptr, source.Get(), &mode, nullptr,
                         0, 0, dest.Get()),
            PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(dest.Pixel8(0, 0).alpha, 0);
  EXPECT_EQ(deep.PixelFloat(0, 0).alpha, 0.0f);
}

TEST_F(Transfer, InjectedFaultIsAnsweredBeforeAnyPixelChanges) {
  World source(1, 1, 8);
  source.SetPixel8(0, 0, {255, 255, 255, 255});
  World dest(1, 1, 8);
  host_.Faults().Fail("transfer_rect", 1, PF_Err_OUT_OF_MEMORY);
  EXPECT_EQ(Run(source, 0, 0, dest, PF_Xfer_SCREEN, 255), PF_Err_OUT_OF_MEMORY);
  EXPECT_EQ(dest.Pixel8(0, 0).alpha, 0);
  EXPECT_EQ(host_.Log().Count("transfer_rect"), 1u);
}

TEST_F(Transfer, BothSuitesAreOfferedAndCanBeWithheld) {
  const void* suite = nullptr;
  ASSERT_EQ(host_.Suites().Acquire(kPFWorldTransformSuite, 1, &suite), 0);
  EXPECT_EQ(static_cast<const PF_WorldTransformSuite1*>(suite)->transfer_rect, &TransferRect);
  host_.Suites().Release(kPFWorldTransformSuite, 1);
  ASSERT_EQ(host_.Suites().Acquire(kPFWorldSuite, 2, &suite), 0);
  host_.Suites().Release(kPFWorldSuite, 2);
  host_.Suites().Withhold(kPFWorldSuite, 2);
  EXPECT_NE(host_.Suites().Acquire(kPFWorldSuite, 2, &suite), 0);
  EXPECT_TRUE(host_.Suites().Unbalanced().empty());
}

TEST_F(Transfer, WorldSuiteAllocatesDisposesAndReportsPixelFormats) {
  const PF_WorldSuite2& suite = *WorldSuite();
  PF_EffectWorld world{};
  const size_t before = LiveSuiteWorlds();
  ASSERT_EQ(suite.PF_NewWorld(Ref(), 3, 2, true, PF_PixelFormat_ARGB128, &world), PF_Err_NONE);
  EXPECT_EQ(world.width, 3);
  EXPECT_EQ(world.rowbytes, 48);
  EXPECT_EQ(LiveSuiteWorlds(), before + 1);
  PF_PixelFormat format = 0;
  ASSERT_EQ(suite.PF_GetPixelFormat(&world, &format), PF_Err_NONE);
  EXPECT_EQ(format, PF_PixelFormat_ARGB128);
  World bytes(1, 1, 8);
  ASSERT_EQ(suite.PF_GetPixelFormat(bytes.Get(), &format), PF_Err_NONE);
  EXPECT_EQ(format, PF_PixelFormat_ARGB32);
  ASSERT_EQ(suite.PF_DisposeWorld(Ref(), &world), PF_Err_NONE);
  EXPECT_EQ(LiveSuiteWorlds(), before);
  EXPECT_EQ(world.data, nullptr);
  EXPECT_EQ(suite.PF_DisposeWorld(Ref(), bytes.Get()), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(suite.PF_NewWorld(Ref(), 0, 2, true, PF_PixelFormat_ARGB32, &world),
            PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(suite.PF_NewWorld(Ref(), 100000, 100000, true, PF_PixelFormat_ARGB128, &world),
            PF_Err_OUT_OF_MEMORY);
}

}  // namespace
}  // namespace solvane::host
