// Worlds hold straight colour, as 8-bit files and frei0r frames do: every (colour, alpha)
// byte pair goes through solvane-render's real reader and writer unchanged. Premultiplied
// files (EXR, associated-alpha TIFF) are divided by alpha on reading and multiplied on
// writing; a TIFF says which it holds.
#include <gtest/gtest.h>

#include <OpenImageIO/imageio.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/pixels/StraightAlpha.h"
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

// The file's four channels as stored (straight colour is not premultiplied on reading).
template <typename T>
std::vector<T> ReadStored(const std::string& path, OIIO::TypeDesc type) {
  OIIO::ImageSpec config;
  config.attribute("oiio:UnassociatedAlpha", 1);
  auto in = OIIO::ImageInput::open(path, &config);
  EXPECT_TRUE(in) << path;
  if (!in) return {};
  std::vector<T> values(size_t(in->spec().width) * in->spec().height * 4);
  EXPECT_TRUE(in->read_image(0, 0, 0, 4, type, values.data()));
  return values;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  return ReadStored<uint8_t>(path, OIIO::TypeDesc::UINT8);
}

std::vector<float> ReadFloats(const std::string& path) {
  return ReadStored<float>(path, OIIO::TypeDesc::FLOAT);
}

// Writes RGBA floats as stored, tagged straight or not (a TIFF's extra-samples tag).
void WriteFloats(const std::string& path, int width, int height, const std::vector<float>& rgba,
                 bool unassociated) {
  auto out = OIIO::ImageOutput::create(path);
  ASSERT_TRUE(out);
  OIIO::ImageSpec spec(width, height, 4, OIIO::TypeDesc::FLOAT);
  if (unassociated) spec.attribute("oiio:UnassociatedAlpha", 1);
  ASSERT_TRUE(out->open(path, spec) && out->write_image(OIIO::TypeDesc::FLOAT, rgba.data()) &&
              out->close());
}

TEST(StraightAlpha, EveryBytePairOfAPngGoesIntoTheWorldAndBackOutUnchanged) {
  const std::string path = Temp("pairs.png");
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
      mismatches += p.alpha != f[3] || p.red != f[0] || p.green != f[1] || p.blue != f[2];
    }
  }
  EXPECT_EQ(mismatches, 0);
  for (const char* name : {"back.png", "back.tif"}) {
    cli::WriteImage(Temp(name), world);
    EXPECT_EQ(ReadBytes(Temp(name)), file) << name;
  }
}

// Half-transparent red 0.8 over alpha 0.5 and green 0.3 where alpha is 0.
const std::vector<float> kStraight = {0.8f, 0.2f, 1.5f, 0.5f, 0.3f, 0.6f, 0.9f, 0.0f};

TEST(StraightAlpha, ExrIsWrittenPremultipliedAndReadBackStraight) {
  host::World world(2, 1, 32);
  world.SetPixelFloat(0, 0, {0.5f, 0.8f, 0.2f, 1.5f});
  world.SetPixelFloat(1, 0, {0.0f, 0.3f, 0.6f, 0.9f});
  cli::WriteImage(Temp("straight.exr"), world);
  const std::vector<float> file = ReadFloats(Temp("straight.exr"));
  EXPECT_EQ(file, (std::vector<float>{0.4f, 0.1f, 0.75f, 0.5f, 0, 0, 0, 0}));
  // Read back, the colour under alpha 0 is gone (the file holds 0 there); the rest is
  // straight again.
  const host::World back = cli::ReadImage(Temp("straight.exr"), 32);
  const PF_PixelFloat p = back.PixelFloat(0, 0);
  EXPECT_FLOAT_EQ(p.alpha, 0.5f);
  EXPECT_FLOAT_EQ(p.red, 0.8f);
  EXPECT_FLOAT_EQ(p.green, 0.2f);
  EXPECT_FLOAT_EQ(p.blue, 1.5f);
}

TEST(StraightAlpha, APremultipliedFileWithSoftAlphaReachesTheWorldStraight) {
  // Premultiplied: colour 0.25 under alpha 0.25 is straight 1; colour kept under alpha 0.
  const std::vector<float> file = {0.25f, 0.125f, 0.5f, 0.25f, 0.3f, 0.6f, 0.9f, 0.0f};
  WriteFloats(Temp("soft.exr"), 2, 1, file, false);
  WriteFloats(Temp("associated.tif"), 2, 1, file, false);
  for (const char* name : {"soft.exr", "associated.tif"}) {
    const host::World world = cli::ReadImage(Temp(name), 32);
    const PF_PixelFloat p = world.PixelFloat(0, 0), q = world.PixelFloat(1, 0);
    EXPECT_FLOAT_EQ(p.alpha, 0.25f) << name;
    EXPECT_FLOAT_EQ(p.red, 1.0f) << name;
    EXPECT_FLOAT_EQ(p.green, 0.5f) << name;
    EXPECT_FLOAT_EQ(p.blue, 2.0f) << name;
    EXPECT_FLOAT_EQ(q.green, 0.6f) << name;
  }
}

TEST(StraightAlpha, AnUnassociatedFloatTiffIsStraightAlready) {
  WriteFloats(Temp("unassociated.tif"), 2, 1, kStraight, true);
  const host::World world = cli::ReadImage(Temp("unassociated.tif"), 32);
  const PF_PixelFloat p = world.PixelFloat(0, 0);
  EXPECT_FLOAT_EQ(p.red, 0.8f);
  EXPECT_FLOAT_EQ(p.blue, 1.5f);
  EXPECT_FLOAT_EQ(p.alpha, 0.5f);
  // A float TIFF is written premultiplied, tagged so, and read back straight.
  cli::WriteImage(Temp("written.tif"), world);
  EXPECT_FLOAT_EQ(ReadFloats(Temp("written.tif"))[0], 0.4f);
  EXPECT_FLOAT_EQ(cli::ReadImage(Temp("written.tif"), 32).PixelFloat(0, 0).red, 0.8f);
}

TEST(StraightAlpha, ConversionsAtTheBorders) {
  EXPECT_EQ(UnitToByte(-3.0f), 0);
  EXPECT_EQ(UnitToByte(7.0f), 255);
  EXPECT_EQ(UnitToByte(std::nanf("")), 0);
  EXPECT_EQ(Unpremultiply(0.5f, 0.25f), 2.0f);  // light above 1 is not clamped
  EXPECT_EQ(Unpremultiply(0.5f, 0.0f), 0.5f);
  EXPECT_EQ(Premultiply(2.0f, 0.25f), 0.5f);
  EXPECT_EQ(Premultiply(0.5f, 3.0f), 0.5f);  // alpha beyond 1 counts as 1
}

}  // namespace
}  // namespace solvane::pixels
