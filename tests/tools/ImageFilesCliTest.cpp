// The image files solvane-render writes and what it keeps of the input's header: TIFF at
// 8 bits and float, EXR data and display windows (kept, moved by a buffer expansion,
// scaled by a downsample), and a frame the GPU cannot hold refused from its header.
#include <gtest/gtest.h>

#include <OpenImageIO/imageio.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/tools/CliProcess.h"
#include "tools/render/GpuTextureLimit.h"

namespace solvane::cli {
namespace {

namespace fs = std::filesystem;
using testing::CliResult;
using testing::RunCli;
using testing::TestFolder;

const std::string kDemo = std::string(SOLVANE_SOURCE_DIR) + "/assets/demo/skyline.png";
const std::vector<std::string> kQuick = {"--quiet", "--param", "Quality/Quality=Draft"};
constexpr long kSmallPeakKilobytes = 600 * 1024;

std::vector<std::string> Quick(const std::vector<std::string>& tail) {
  std::vector<std::string> args = kQuick;
  args.insert(args.end(), tail.begin(), tail.end());
  return args;
}

struct Read {
  OIIO::ImageSpec spec;
  std::vector<float> pixels;
};

Read ReadBack(const std::string& path) {
  Read r;
  OIIO::ImageSpec config;
  config.attribute("oiio:UnassociatedAlpha", 1);
  auto in = OIIO::ImageInput::open(path, &config);
  if (!in) return r;
  r.spec = in->spec();
  r.pixels.resize(size_t(r.spec.image_pixels()) * r.spec.nchannels);
  if (!in->read_image(0, 0, 0, r.spec.nchannels, OIIO::TypeDesc::FLOAT, r.pixels.data())) {
    r.pixels.clear();
  }
  return r;
}

TEST(ImageFiles, TiffIsWrittenAtEightBitsAndInFloat) {
  const std::string dir = TestFolder("tiff");
  ASSERT_EQ(RunCli(Quick({"--downsample", "8", kDemo, dir + "/ref.png"})).code, 0);
  for (const std::string depth : {"8", "32"}) {
    const std::string out = dir + "/out" + depth + ".tif";
    const CliResult run = RunCli(Quick({"--downsample", "8", "--depth", depth, kDemo, out}));
    EXPECT_EQ(run.code, 0) << depth << ": " << run.err;
    const Read tiff = ReadBack(out);
    ASSERT_FALSE(tiff.pixels.empty()) << out;
    EXPECT_EQ(tiff.spec.format, depth == "8" ? OIIO::TypeDesc::UINT8 : OIIO::TypeDesc::FLOAT);
    EXPECT_EQ(tiff.spec.nchannels, 4);
    // The 8-bit TIFF holds the same straight bytes as the PNG of the same render.
    if (depth == "8") {
      EXPECT_EQ(tiff.pixels, ReadBack(dir + "/ref.png").pixels);
    }
  }
}

// A 64x48 EXR whose pixels start at (10, 20) of a 128x128 display window.
void WriteWindowedExr(const std::string& path) {
  OIIO::ImageSpec spec(64, 48, 4, OIIO::TypeDesc::FLOAT);
  spec.x = 10;
  spec.y = 20;
  spec.full_x = 0;
  spec.full_y = 0;
  spec.full_width = 128;
  spec.full_height = 128;
  std::vector<float> pixels(size_t(64) * 48 * 4, 0.5f);
  auto out = OIIO::ImageOutput::create(path);
  ASSERT_TRUE(out && out->open(path, spec) &&
              out->write_image(OIIO::TypeDesc::FLOAT, pixels.data()) && out->close());
}

TEST(ImageFiles, ExrWindowsAreKeptMovedByTheExpansionAndScaledByTheDownsample) {
  const std::string dir = TestFolder("windows");
  const std::string in = dir + "/in.exr";
  WriteWindowedExr(in);
  const struct {
    std::vector<std::string> args;
    int x, y, width, height, display;
  } cases[] = {
      {{}, 10, 20, 64, 48, 128},
      {{"--param", "Buffer Expansion=8"}, 2, 12, 80, 64, 128},
      {{"--downsample", "2"}, 5, 10, 32, 24, 64},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = Quick(c.args);
    args.insert(args.end(), {in, dir + "/out.exr"});
    const CliResult run = RunCli(args);
    ASSERT_EQ(run.code, 0) << run.err;
    const Read out = ReadBack(dir + "/out.exr");
    EXPECT_EQ(out.spec.x, c.x);
    EXPECT_EQ(out.spec.y, c.y);
    EXPECT_EQ(out.spec.width, c.width);
    EXPECT_EQ(out.spec.height, c.height);
    EXPECT_EQ(out.spec.full_x, 0);
    EXPECT_EQ(out.spec.full_y, 0);
    EXPECT_EQ(out.spec.full_width, c.display);
    EXPECT_EQ(out.spec.full_height, c.display);
  }
  // A picture without windows keeps none: the output's window is its own pixels.
  ASSERT_EQ(RunCli(Quick({"--param", "Buffer Expansion=8", kDemo, dir + "/plain.exr"})).code, 0);
  const Read plain = ReadBack(dir + "/plain.exr");
  EXPECT_EQ(plain.spec.x, 0);
  EXPECT_EQ(plain.spec.full_width, plain.spec.width);
}

// A PNG header declaring width x height RGBA pixels and `dataBytes` of pixel data that
// never needs decoding: enough that the file's size allows the declared picture.
void WritePngDeclaring(const std::string& path, uint32_t width, uint32_t height, size_t dataBytes) {
  const auto bigEndian = [](uint32_t v) {
    return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  };
  const auto crc32 = [](const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (const unsigned char c : bytes) {
      crc ^= c;
      for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
  };
  const auto chunk = [&](const std::string& type, const std::string& data) {
    return bigEndian(uint32_t(data.size())) + type + data + bigEndian(crc32(type + data));
  };
  std::ofstream(path, std::ios::binary)
      << std::string("\x89PNG\r\n\x1a\n", 8)
      << chunk("IHDR", bigEndian(width) + bigEndian(height) + std::string("\x08\x06\0\0\0", 5))
      << chunk("IDAT", std::string(dataBytes, 'x')) << chunk("IEND", "");
}

TEST(ImageFiles, AFrameTheGpuCannotHoldIsRefusedFromItsHeader) {
  if (AskTextureFit(16384, 16384).fits) GTEST_SKIP() << "this GPU holds 16384x16384 in float";
  const std::string dir = TestFolder("gpu_limit");
  const std::string png = dir + "/big.png";
  WritePngDeclaring(png, 16384, 16384, 400 << 10);
  const CliResult run = RunCli({png, dir + "/out.png"});
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_NE(run.err.find("\"" + png + "\": a 16384x16384 frame does not fit the GPU"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("--downsample"), std::string::npos) << run.err;
  EXPECT_LT(run.peakKilobytes, kSmallPeakKilobytes);
  EXPECT_LT(run.seconds, 20.0);
  EXPECT_FALSE(fs::exists(dir + "/out.png"));
}

}  // namespace
}  // namespace solvane::cli
