// The straight-alpha rules the frei0r filter applies to its frames are the ones
// solvane-render applies to 8-bit files: every (colour, alpha) byte pair goes through the
// tool's real reader and writer and must come out as the shared functions say.
#include <gtest/gtest.h>

#include <OpenImageIO/imageio.h>

#include <cmath>
#include <string>
#include <vector>

#include "pixels/StraightAlpha.h"
#include "tools/render/ImageIO.h"

namespace solvane::pixels {
namespace {

std::string Temp(const std::string& name) {
  return ::testing::TempDir() + "solvane_pixels_" + name;
}

// A 256 x 256 RGBA image whose pixel (x, y) holds colour x in red, 255 - x in green, x / 2
// in blue and alpha y: every byte pair a channel can meet.
std::vector<uint8_t> EveryPair() {
  std::vector<uint8_t> bytes(256 * 256 * 4);
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      uint8_t* p = &bytes[(size_t(y) * 256 + x) * 4];
      p[0] = uint8_t(x);
      p[1] = uint8_t(255 - x);
      p[2] = uint8_t(x / 2);
      p[3] = uint8_t(y);
    }
  }
  return bytes;
}

TEST(StraightAlpha, TheToolPremultipliesAn8BitFileAsPremultiply8Does) {
  const std::string path = Temp("read.png");
  auto out = OIIO::ImageOutput::create(path);
  ASSERT_TRUE(out);
  OIIO::ImageSpec spec(256, 256, 4, OIIO::TypeDesc::UINT8);
  spec.attribute("oiio:UnassociatedAlpha", 1);
  const std::vector<uint8_t> file = EveryPair();
  ASSERT_TRUE(out->open(path, spec) && out->write_image(OIIO::TypeDesc::UINT8, file.data()) &&
              out->close());
  const host::World world = cli::ReadImage(path, 8);
  int mismatches = 0;
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      const uint8_t* f = &file[(size_t(y) * 256 + x) * 4];
      const PF_Pixel8 p = world.Pixel8(x, y);
      mismatches += p.alpha != f[3] || p.red != Premultiply8(f[0], f[3]) ||
                    p.green != Premultiply8(f[1], f[3]) || p.blue != Premultiply8(f[2], f[3]);
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(StraightAlpha, TheToolWritesAn8BitWorldAsUnpremultiply8Does) {
  host::World world(256, 256, 8);
  const std::vector<uint8_t> pairs = EveryPair();
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      const uint8_t* q = &pairs[(size_t(y) * 256 + x) * 4];
      world.SetPixel8(x, y, {q[3], q[0], q[1], q[2]});  // colour may exceed alpha: clamps
    }
  }
  const std::string path = Temp("write.png");
  cli::WriteImage(path, world);
  OIIO::ImageSpec config;
  config.attribute("oiio:UnassociatedAlpha", 1);
  auto in = OIIO::ImageInput::open(path, &config);
  ASSERT_TRUE(in);
  std::vector<uint8_t> file(256 * 256 * 4);
  ASSERT_TRUE(in->read_image(0, 0, 0, 4, OIIO::TypeDesc::UINT8, file.data()));
  int mismatches = 0;
  for (size_t i = 0; i < file.size(); i += 4) {
    const uint8_t a = pairs[i + 3];
    mismatches += file[i + 3] != a || file[i] != Unpremultiply8(pairs[i], a) ||
                  file[i + 1] != Unpremultiply8(pairs[i + 1], a) ||
                  file[i + 2] != Unpremultiply8(pairs[i + 2], a);
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(StraightAlpha, RoundTripKeepsOpaqueColourAndBlackensTransparentPixels) {
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(Unpremultiply8(Premultiply8(uint8_t(c), 255), 255), c);
    EXPECT_EQ(Premultiply8(uint8_t(c), 0), 0);
    EXPECT_EQ(Unpremultiply8(uint8_t(c), 0), 0);
  }
  // Half alpha keeps colour to within the one step its precision allows.
  for (int c = 0; c < 256; ++c) {
    EXPECT_LE(std::abs(Unpremultiply8(Premultiply8(uint8_t(c), 128), 128) - c), 1) << c;
  }
}

TEST(StraightAlpha, ClampsOutOfRangeAndNaNValues) {
  EXPECT_EQ(UnitToByte(-3.0f), 0);
  EXPECT_EQ(UnitToByte(7.0f), 255);
  EXPECT_EQ(UnitToByte(std::nanf("")), 0);
  EXPECT_EQ(StraightChannel(0.5f, 0.25f), 1.0f);
  EXPECT_EQ(StraightChannel(0.5f, std::nanf("")), 0.0f);
}

}  // namespace
}  // namespace solvane::pixels
