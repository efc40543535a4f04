// The host's composite (transfer_rect of "PF World Transform Suite" v1) on small worlds:
// the straight-colour Add and Screen rules at both depths and several opacities, with
// expected values worked out by hand; placement and clipping, padded rows, refusals; and
// "PF World Suite" v2.
#include <gtest/gtest.h>

#include <type_traits>

#include "AE_EffectCBSuites.h"
#include "host/Host.h"
#include "host/TransferSuite.h"
#include "host/World.h"
#include "host/WorldSuite.h"

namespace solvane::host {
namespace {

class Transfer : public ::testing::Test {
 public:
  PF_Err Run(const World& source, A_long x, A_long y, World& dest, PF_TransferMode xfer,
             A_u_char opacity, const PF_Rect* rect = nullptr) {
    PF_CompositeMode mode{xfer, 0, opacity, false, 0};
    return TransferRect(Ref(), PF_Quality_HI, PF_MF_Alpha_PREMUL, PF_Field_FRAME, rect,
                        source.Get(), &mode, nullptr, x, y, dest.Get());
  }
  PF_ProgPtr Ref() { return reinterpret_cast<PF_ProgPtr>(&host_); }

  Host host_{SOLVANE_MODULE_PATH};
};

// One pixel over one pixel through transfer_rect, at the depth of the pixel type.
template <typename Pixel>
Pixel Composite(Transfer& t, Pixel s, Pixel d, PF_TransferMode xfer, A_u_char opacity) {
  constexpr bool kBytes = std::is_same_v<Pixel, PF_Pixel8>;
  World source(1, 1, kBytes ? 8 : 32), dest(1, 1, kBytes ? 8 : 32);
  if constexpr (kBytes) {
    source.SetPixel8(0, 0, s);
    dest.SetPixel8(0, 0, d);
  } else {
    source.SetPixelFloat(0, 0, s);
    dest.SetPixelFloat(0, 0, d);
  }
  EXPECT_EQ(t.Run(source, 0, 0, dest, xfer, opacity), PF_Err_NONE);
  if constexpr (kBytes) {
    return dest.Pixel8(0, 0);
  } else {
    return dest.PixelFloat(0, 0);
  }
}

PF_PixelFloat CompositeOne(Transfer& t, PF_PixelFloat s, PF_PixelFloat d, PF_TransferMode xfer,
                           A_u_char opacity) {
  return Composite(t, s, d, xfer, opacity);
}

PF_Pixel8 CompositeOne8(Transfer& t, PF_Pixel8 s, PF_Pixel8 d, PF_TransferMode xfer,
                        A_u_char opacity) {
  return Composite(t, s, d, xfer, opacity);
}

void ExpectPixel(PF_PixelFloat p, float a, float r, float g, float b) {
  EXPECT_NEAR(p.alpha, a, 1e-5f);
  EXPECT_NEAR(p.red, r, 1e-5f);
  EXPECT_NEAR(p.green, g, 1e-5f);
  EXPECT_NEAR(p.blue, b, 1e-5f);
}

void ExpectPixel8(PF_Pixel8 p, int a, int r, int g, int b) {
  EXPECT_EQ(p.alpha, a);
  EXPECT_EQ(p.red, r);
  EXPECT_EQ(p.green, g);
  EXPECT_EQ(p.blue, b);
}

// Rays of light c in their "Unmult" form (c / b, b) under an opaque layer s: the layer is
// screened over the light itself, s + c - s * c.
TEST_F(Transfer, OpaqueLayerOverUnmultRaysIsScreenedOverTheLight) {
  // c = (0.3, 0.6, 0.05) with b = 0.6; s = (0.4, 0.2, 0.9).
  ExpectPixel(CompositeOne(*this, {1, 0.4f, 0.2f, 0.9f}, {0.6f, 0.5f, 1.0f, 0.05f / 0.6f},
                           PF_Xfer_SCREEN, 255),
              1, 0.58f, 0.68f, 0.905f);
  // Bytes: b = 153 / 255 = 0.6, c = (128 / 255 * 0.6, 0.6, 21 / 255 * 0.6) = (0.30118, 0.6,
  // 0.04941), s = (0.4, 0.2, 0.90196): s + c - s * c = 0.58071, 0.68, 0.90681, times 255
  // 148.08, 173.4, 231.24.
  ExpectPixel8(CompositeOne8(*this, {255, 102, 51, 230}, {153, 128, 255, 21}, PF_Xfer_SCREEN, 255),
               255, 148, 173, 231);
}

// as = 0.5, ad = 0.5: alpha 0.75 and colour (0.25 Cd + 0.25 Cs + 0.25 B) / 0.75.
TEST_F(Transfer, HalfTransparentLayerOverHalfTransparentRays) {
  // Red: (0.4 + 0.8 + 0.88) / 3; green: (0.6 + 0.2 + 0.68) / 3; blue: (1 + 0 + 1) / 3.
  ExpectPixel(
      CompositeOne(*this, {0.5f, 0.8f, 0.2f, 0}, {0.5f, 0.4f, 0.6f, 1}, PF_Xfer_SCREEN, 255), 0.75f,
      2.08f / 3, 1.48f / 3, 2.0f / 3);
  // Bytes with as = 0.4, ad = 0.6: alpha 0.76 (193.8); colour (0.36 Cd + 0.16 Cs + 0.24 B) /
  // 0.76: red (0.144 + 0.128 + 0.2112) / 0.76 = 0.63579 (162.13), green 0.54105 (137.97),
  // blue 0.78948 (201.32).
  ExpectPixel8(CompositeOne8(*this, {102, 204, 51, 0}, {153, 102, 153, 255}, PF_Xfer_SCREEN, 255),
               194, 162, 138, 201);
}

TEST_F(Transfer, ZeroAlphaOnEitherSideLeavesTheOtherSide) {
  // A transparent layer changes nothing, whatever colour it holds.
  ExpectPixel(CompositeOne(*this, {0, 1, 1, 1}, {0.6f, 0.5f, 0.25f, 0.125f}, PF_Xfer_ADD, 255),
              0.6f, 0.5f, 0.25f, 0.125f);
  ExpectPixel8(CompositeOne8(*this, {0, 255, 255, 255}, {153, 128, 64, 32}, PF_Xfer_SCREEN, 255),
               153, 128, 64, 32);
  // Over transparent rays the layer keeps its colour; its alpha is scaled by the opacity:
  // 200 * 127 / 255 = 99.6.
  ExpectPixel(CompositeOne(*this, {0.8f, 0.1f, 0.2f, 0.3f}, {0, 1, 1, 1}, PF_Xfer_SCREEN, 255),
              0.8f, 0.1f, 0.2f, 0.3f);
  ExpectPixel8(CompositeOne8(*this, {200, 10, 20, 30}, {0, 99, 99, 99}, PF_Xfer_SCREEN, 127), 100,
               10, 20, 30);
  // Both transparent: transparent black.
  ExpectPixel(CompositeOne(*this, {0, 1, 1, 1}, {0, 1, 1, 1}, PF_Xfer_SCREEN, 255), 0, 0, 0, 0);
}

// At opacity 127 (a = 127 / 255 = 0.49804) over an opaque destination: (1 - a) Cd + a B.
TEST_F(Transfer, AddAtHalfOpacity) {
  // Red: 0.50196 * 0.3 + 0.49804 * 0.7; blue: 0.50196 * 0.6 + 0.49804 * 1.4 (light adds up
  // past 1 in float).
  ExpectPixel(CompositeOne(*this, {1, 0.4f, 0, 0.8f}, {1, 0.3f, 1, 0.6f}, PF_Xfer_ADD, 127), 1,
              0.499216f, 1.0f, 0.998431f);
  // Bytes: red 0.50196 * 76 + 0.49804 * 178 = 126.8; blue 0.50196 * 153 + 0.49804 * 255
  // (the sum clamped to 255) = 203.8.
  ExpectPixel8(CompositeOne8(*this, {255, 102, 0, 204}, {255, 76, 255, 153}, PF_Xfer_ADD, 127), 255,
               127, 255, 204);
}

TEST_F(Transfer, FloatLightAboveOneIsKeptAndNeverGoesDarkOrNegative) {
  // Add sums past 1; a negative layer takes no light below black.
  ExpectPixel(CompositeOne(*this, {1, 0.5f, 2, -0.5f}, {1, 2, 3, 0.25f}, PF_Xfer_ADD, 255), 1, 2.5f,
              5, 0);
  // Screen above 1 keeps the brighter value: s + d - s * d would give 0.5 + 2 - 1 = 1.5 and
  // 2 + 3 - 6 = -1.
  ExpectPixel(CompositeOne(*this, {1, 0.5f, 2, 0.25f}, {1, 2, 3, 0.5f}, PF_Xfer_SCREEN, 255), 1, 2,
              3, 0.625f);
  // A bright layer over half-alpha rays: 0.5 * 3 + 0.5 * max(3, 0.8) = 3.
  ExpectPixel(CompositeOne(*this, {1, 3, 0, 0}, {0.5f, 0.8f, 0, 0}, PF_Xfer_SCREEN, 255), 1, 3,
              0.0f, 0.0f);
  // Alpha outside 0..1 counts as 0..1.
  ExpectPixel(CompositeOne(*this, {2, 0.5f, 0.5f, 0.5f}, {-1, 1, 1, 1}, PF_Xfer_ADD, 255), 1, 0.5f,
              0.5f, 0.5f);
}

// The same straight picture composited at 8 and at 32 bits agrees within one code value in
// every channel wherever the 8-bit result does not clip (Add's sum above 255 clips).
TEST_F(Transfer, FloatAgreesWithEightBitWhereEightBitDoesNotClip) {
  constexpr int kSize = 64;
  World source8(kSize, kSize, 8), dest8(kSize, kSize, 8);
  World source32(kSize, kSize, 32), dest32(kSize, kSize, 32);
  const auto f = [](A_u_char v) { return float(v) / 255.0f; };
  const auto pixelS = [](int x, int y) {
    return PF_Pixel8{A_u_char(x * 4 + 3), A_u_char(255 * (y % 8) / 7), A_u_char(x * 2),
                     A_u_char(200 - y)};
  };
  const auto pixelD = [](int x, int y) {
    return PF_Pixel8{A_u_char(y * 4 + 3), A_u_char(255 * (x % 8) / 7), A_u_char(250 - 3 * y),
                     A_u_char(x + y)};
  };
  for (PF_TransferMode xfer : {PF_Xfer_ADD, PF_Xfer_SCREEN}) {
    for (A_u_char opacity : {A_u_char(255), A_u_char(254), A_u_char(100)}) {
      for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
          const PF_Pixel8 s = pixelS(x, y), d = pixelD(x, y);
          source8.SetPixel8(x, y, s);
          dest8.SetPixel8(x, y, d);
          source32.SetPixelFloat(x, y, {f(s.alpha), f(s.red), f(s.green), f(s.blue)});
          dest32.SetPixelFloat(x, y, {f(d.alpha), f(d.red), f(d.green), f(d.blue)});
        }
      }
      ASSERT_EQ(Run(source8, 0, 0, dest8, xfer, opacity), PF_Err_NONE);
      ASSERT_EQ(Run(source32, 0, 0, dest32, xfer, opacity), PF_Err_NONE);
      int compared = 0;
      for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
          const PF_Pixel8 s = pixelS(x, y), d = pixelD(x, y), e = dest8.Pixel8(x, y);
          const PF_PixelFloat p = dest32.PixelFloat(x, y);
          const int sums[4] = {0, s.red + d.red, s.green + d.green, s.blue + d.blue};
          const A_u_char bytes[4] = {e.alpha, e.red, e.green, e.blue};
          const float floats[4] = {p.alpha, p.red, p.green, p.blue};
          EXPECT_LE(p.alpha, 1.0f);
          for (int c = 0; c < 4; ++c) {
            EXPECT_GE(floats[c], 0.0f);
            if (xfer == PF_Xfer_ADD && sums[c] > 255) continue;
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
  world.SetPixel8(0, 0, {255, 100, 0, 0});
  world.SetPixel8(1, 0, {255, 100, 0, 0});
  ASSERT_EQ(Run(world, 1, 0, world, PF_Xfer_ADD, 255), PF_Err_NONE);
  EXPECT_EQ(world.Pixel8(1, 0).red, 200);
  EXPECT_EQ(world.Pixel8(2, 0).red, 100);  // not 255 clamped: (1, 0) was read before
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
