// solvane-render INPUT OUTPUT, run as the user runs it, on the built module. With
// "Exposure" 0 the rays are black, so the final composite is the host's Screen of the
// input at opacity 254 over nothing: every output pixel is known exactly, which checks
// reading, the alpha conventions of files, placement, buffer expansion, downsampling and
// writing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <OpenImageIO/imageio.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/render/ErrorNames.h"

namespace solvane::cli {
namespace {

struct Picture {
  int width = 0, height = 0, channels = 0;
  std::vector<float> pixels;  // as stored in the file, on the 0-to-1 scale
  float At(int x, int y, int c) const { return pixels[(size_t(y) * width + x) * channels + c]; }
};

// The process id keeps runs from several checkouts at once out of each other's files.
std::string Temp(const std::string& name) {
  return ::testing::TempDir() + "solvane_cli_" + std::to_string(getpid()) + "_" + name;
}

void Write(const std::string& path, const Picture& p, OIIO::TypeDesc type) {
  auto out = OIIO::ImageOutput::create(path);
  ASSERT_TRUE(out);
  OIIO::ImageSpec spec(p.width, p.height, p.channels, type);
  spec.attribute("oiio:UnassociatedAlpha", 1);
  ASSERT_TRUE(out->open(path, spec));
  ASSERT_TRUE(out->write_image(OIIO::TypeDesc::FLOAT, p.pixels.data()));
  ASSERT_TRUE(out->close());
}

Picture Read(const std::string& path) {
  OIIO::ImageSpec config;
  config.attribute("oiio:UnassociatedAlpha", 1);
  auto in = OIIO::ImageInput::open(path, &config);
  Picture p;
  if (!in) return p;
  p.width = in->spec().width;
  p.height = in->spec().height;
  p.channels = in->spec().nchannels;
  p.pixels.resize(size_t(p.width) * p.height * p.channels);
  in->read_image(0, 0, 0, p.channels, OIIO::TypeDesc::FLOAT, p.pixels.data());
  return p;
}

struct CliRun {
  int code = 0;
  std::string err;
};

CliRun Cli(const std::string& args) {
  // One file per process: ctest runs these tests as separate processes side by side.
  const std::string errPath = Temp("stderr.txt");
  // The module's file name holds an apostrophe, so it goes in double quotes.
  const std::string command = std::string("\"") + SOLVANE_RENDER_PATH + "\" --module \"" +
                              SOLVANE_MODULE_PATH + "\" " + args + " 2>" + errPath;
  const int status = std::system(command.c_str());
  std::ifstream file(errPath);
  std::stringstream text;
  text << file.rdbuf();
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
}

// 4 x 2 RGBA, alpha 1, 0.5, 0 and 1 along the row, straight colour.
Picture Sample() {
  Picture p{4, 2, 4, {}};
  const float alphas[4] = {1.0f, 0.5f, 0.0f, 1.0f};
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) {
      p.pixels.insert(p.pixels.end(), {0.2f + 0.2f * x, 0.8f - 0.3f * y, 0.4f, alphas[x]});
    }
  }
  return p;
}

// With Exposure 0 the rays are transparent black, so the layer comes out as it went in,
// its alpha scaled by the default opacity (254 / 255).
constexpr float kOpacity = 254.0f / 255.0f;

// EXR holds premultiplied colour: divided by alpha on reading, multiplied on writing.
TEST(RenderCli, ExrIsUnpremultipliedOnReadPremultipliedOnWriteAndPlacedByTheExpansion) {
  Picture input = Sample();
  input.pixels[0] = -0.25f;  // a negative channel is read as it is; the composite floors it
  Write(Temp("in.exr"), input, OIIO::TypeDesc::FLOAT);
  const CliRun run = Cli("--param Exposure=0 --param 'Buffer Expansion=2' " + Temp("in.exr") + " " +
                         Temp("out.exr"));
  ASSERT_EQ(run.code, 0) << run.err;
  const Picture out = Read(Temp("out.exr"));
  ASSERT_EQ(out.width, 8);
  ASSERT_EQ(out.height, 6);
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(out.At(0, 0, c), 0.0f);
    EXPECT_EQ(out.At(7, 5, c), 0.0f);
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 4; ++x) {
        const float a = input.At(x, y, 3);
        // Straight colour in / a comes out times the scaled alpha a * kOpacity.
        const float expected = c == 3 ? a * kOpacity : std::max(0.0f, input.At(x, y, c)) * kOpacity;
        EXPECT_NEAR(out.At(x + 2, y + 2, c), a > 0 ? expected : 0.0f, 1e-6f)
            << x << "," << y << " ch " << c;
      }
    }
  }
}

// PNG holds straight colour, as worlds do: it goes in and out unchanged.
TEST(RenderCli, PngIsStraightOnReadAndWrite) {
  Write(Temp("in.png"), Sample(), OIIO::TypeDesc::UINT8);
  const Picture input = Read(Temp("in.png"));
  const CliRun run = Cli("--param Exposure=0 " + Temp("in.png") + " " + Temp("out.png"));
  ASSERT_EQ(run.code, 0) << run.err;
  const Picture out = Read(Temp("out.png"));
  ASSERT_EQ(out.width, 4);
  ASSERT_EQ(out.channels, 4);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) {
      const long a = std::lround(input.At(x, y, 3) * 255);
      // 255 * 254 / 255 = 254, 128 * 254 / 255 = 127.5 -> 128, 0 stays 0.
      EXPECT_EQ(std::lround(out.At(x, y, 3) * 255), (a * 254 + 127) / 255) << x << "," << y;
      for (int c = 0; c < 3; ++c) {
        const long expected = a == 0 ? 0 : std::lround(input.At(x, y, c) * 255);
        EXPECT_EQ(std::lround(out.At(x, y, c) * 255), expected) << x << "," << y << " ch " << c;
      }
    }
  }
}

TEST(RenderCli, DownsampleAndAdjustmentLayerChangeTheOutputSize) {
  Write(Temp("size.exr"), Sample(), OIIO::TypeDesc::FLOAT);
  ASSERT_EQ(Cli("--param Exposure=0 --param 'Buffer Expansion=4' --downsample 2 " +
                Temp("size.exr") + " " + Temp("half.exr"))
                .code,
            0);
  const Picture half = Read(Temp("half.exr"));
  EXPECT_EQ(half.width, 2 + 2 * 2);  // ceil(4 / 2) grown by 4 x 1/2 on each side
  EXPECT_EQ(half.height, 1 + 2 * 2);
  const Picture input = Sample();
  const float mean =
      (input.At(0, 0, 1) + input.At(1, 0, 1) + input.At(0, 1, 1) + input.At(1, 1, 1)) / 4;
  EXPECT_NEAR(half.At(2, 2, 1), mean * 254.0f / 255.0f, 1e-6f);
  ASSERT_EQ(Cli("--param 'Buffer Expansion=4' --adjustment-layer " + Temp("size.exr") + " " +
                Temp("adjust.exr"))
                .code,
            0);
  EXPECT_EQ(Read(Temp("adjust.exr")).width, 4);  // the host's request, not grown
}

TEST(RenderCli, SeveralThreadsGiveTheSamePicture) {
  Write(Temp("threads.exr"), Sample(), OIIO::TypeDesc::FLOAT);
  ASSERT_EQ(Cli(Temp("threads.exr") + " " + Temp("one.exr")).code, 0);
  ASSERT_EQ(Cli("--threads 3 " + Temp("threads.exr") + " " + Temp("three.exr")).code, 0);
  EXPECT_EQ(Read(Temp("one.exr")).pixels, Read(Temp("three.exr")).pixels);
}

TEST(RenderCli, FailuresPrintOneLineAndExitNonZero) {
  Write(Temp("ok.png"), Sample(), OIIO::TypeDesc::UINT8);
  const std::string ok = Temp("ok.png");
  const struct {
    std::string args;
    int code;
    std::string says;
  } cases[] = {
      {Temp("missing.png") + " " + Temp("x.png"), 1, "cannot read"},
      {ok + " /no/such/folder/x.png", 1, "does not exist"},
      {ok + " " + Temp("x.unknownformat"), 1, "cannot write"},
      {"--param Bogus=1 " + ok + " " + Temp("x.png"), 1, "Bogus"},
      {"--param 'Samples=0' " + ok + " " + Temp("x.png"), 1, "Samples"},
      {"--depth 16 " + ok + " " + Temp("x.png"), 2, "--depth"},
      {"--downsample 0 " + ok + " " + Temp("x.png"), 2, "--downsample"},
      {ok, 2, "OUTPUT"},
  };
  for (const auto& c : cases) {
    const CliRun run = Cli(c.args);
    EXPECT_EQ(run.code, c.code) << c.args << ": " << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << c.args << ": " << run.err;
    if (c.code == 1) {
      EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }
  }
}

// A premultiplied EXR's colour reaches the effect divided by alpha: 0.25 under alpha 0.25
// is straight white, which passes a 50 % threshold (0.25 would not) and comes out of the
// thresholded view as white under alpha 0.25 again.
TEST(RenderCli, APremultipliedExrReachesTheEffectAsStraightColour) {
  Picture soft{2, 1, 4, {0.25f, 0.25f, 0.25f, 0.25f, 0.2f, 0.2f, 0.2f, 1.0f}};
  Write(Temp("soft.exr"), soft, OIIO::TypeDesc::FLOAT);
  const CliRun run =
      Cli("--param Input/Threshold=50 --param 'Threshold Smooth=0' --param "
          "'View=Input (Processed)' " +
          Temp("soft.exr") + " " + Temp("processed.exr"));
  ASSERT_EQ(run.code, 0) << run.err;
  const Picture out = Read(Temp("processed.exr"));
  for (int c = 0; c < 4; ++c) EXPECT_FLOAT_EQ(out.At(0, 0, c), 0.25f) << c;
  for (int c = 0; c < 3; ++c) EXPECT_EQ(out.At(1, 0, c), 0.0f) << c;  // 0.2 is below 50 %
}

// "Rays Solo" with every default: the light in its Unmult form, written premultiplied to EXR
// (colour at most alpha, since the straight colour lies in 0..1) and straight to PNG; the
// EXR is the PNG's straight world times its alpha.
TEST(RenderCli, RaysSoloIsPremultipliedInExrAndStraightInPng) {
  const std::string common =
      "--downsample 4 --param 'View=Rays Solo' " SOLVANE_SOURCE_DIR "/assets/demo/skyline.png ";
  ASSERT_EQ(Cli(common + Temp("rays.exr")).code, 0);
  ASSERT_EQ(Cli(common + Temp("rays.png")).code, 0);
  const Picture exr = Read(Temp("rays.exr")), png = Read(Temp("rays.png"));
  ASSERT_EQ(exr.pixels.size(), png.pixels.size());
  int soft = 0;
  for (int y = 0; y < exr.height; ++y) {
    for (int x = 0; x < exr.width; ++x) {
      const float a = exr.At(x, y, 3);
      soft += a > 0.05f && a < 0.95f;
      EXPECT_FLOAT_EQ(a, png.At(x, y, 3));
      for (int c = 0; c < 3; ++c) {
        EXPECT_LE(exr.At(x, y, c), a) << x << "," << y;
        EXPECT_NEAR(exr.At(x, y, c), png.At(x, y, c) * a, 1e-6f) << x << "," << y;
      }
    }
  }
  EXPECT_GT(soft, 100);  // the rays' soft alpha is really there
}

TEST(RenderCli, ErrorCodesCarryTheirSdkNames) {
  EXPECT_EQ(DescribeError(PF_Err_INTERNAL_STRUCT_DAMAGED), "PF_Err_INTERNAL_STRUCT_DAMAGED (512)");
  EXPECT_EQ(DescribeError(A_Err_MISSING_SUITE), "A_Err_MISSING_SUITE (13)");
  EXPECT_EQ(DescribeError(PF_Interrupt_CANCEL), "PF_Interrupt_CANCEL (517)");
  EXPECT_EQ(DescribeError(12345), "error 12345");
}

}  // namespace
}  // namespace solvane::cli
