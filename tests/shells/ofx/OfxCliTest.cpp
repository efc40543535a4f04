// solvane-ofx-render, the program the Windows checks run under Wine: the same frames as
// solvane-render through the plug-in, and clear refusals of what it cannot do.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "OfxTestSupport.h"

namespace solvane::ofx_host::test {
namespace {

struct ToolRun {
  int code = -1;
  std::string err;
};

ToolRun OfxRender(const std::string& args, const std::string& binary = SOLVANE_OFX_BINARY_PATH) {
  const std::string err = WorkDir() + "ofx-render.stderr";
  const std::string command = "cd " + Quoted(WorkDir()) + " && " + Quoted(SOLVANE_OFX_RENDER_PATH) +
                              " " + Quoted(binary) + " " + args + " 2>" + Quoted(err);
  ToolRun run;
  run.code = std::system(command.c_str());
  std::ifstream in(err);
  std::stringstream text;
  text << in.rdbuf();
  run.err = text.str();
  return run;
}

class OfxRenderCli : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GlAvailable()) return;
    const char* required = std::getenv("SOLVANE_REQUIRE_GL");
    if (required != nullptr && *required != '\0' && std::string(required) != "0") {
      FAIL() << "no OpenGL 3.2 core context, and SOLVANE_REQUIRE_GL is set";
    }
    GTEST_SKIP() << "no OpenGL 3.2 core context can be created here";
  }
};

TEST_F(OfxRenderCli, ChoicesByTextAndSwitchesMatchSolvaneRender) {
  const Settings settings = {{"mode", {1}, "Mode=Zoom"},
                             {"direction", {2}, "Direction=In & Out"},
                             {"repeatEdges", {0}, "Repeat Edges=off"}};
  ASSERT_EQ(RenderReference("in.png", "cli_ref.png", settings, "--depth 8"), "");
  const ToolRun run = OfxRender(
      "in.png cli_out.png --param mode=Zoom --param 'direction=In & Out' "
      "--param repeatEdges=off --threads 3 --context general");
  ASSERT_EQ(run.code, 0) << run.err;
  const HostImage out = ReadImageFile(InputPath("cli_out.png"), Depth::kByte);
  const HostImage ref = ReadImageFile(InputPath("cli_ref.png"), Depth::kByte);
  EXPECT_LE(LargestDifference(out, ref), 1.0f / 255.0f + 1e-6f);
}

// Float from EXR, premultiplied on the way in and out, at half scale from the doubled image.
TEST_F(OfxRenderCli, ScaleAndPremultipliedFloatMatchSolvaneRender) {
  const Settings settings = {{"length", {120}, "Length=120"}};
  ASSERT_EQ(RenderReference("big.png", "cli_half_ref.exr", settings, "--depth 32 --downsample 2"),
            "");
  const ToolRun run = OfxRender(
      "big.png cli_half.exr --depth 32 --scale 0.5 --premultiplied "
      "--param length=120");
  ASSERT_EQ(run.code, 0) << run.err;
  const HostImage out = ReadImageFile(InputPath("cli_half.exr"), Depth::kFloat);
  const HostImage ref = ReadImageFile(InputPath("cli_half_ref.exr"), Depth::kFloat);
  EXPECT_LE(LargestDifference(out, ref, true), 1e-4f);
}

TEST_F(OfxRenderCli, RefusesWhatItCannotDoNamingIt) {
  const struct {
    std::string args, binary, message;
  } cases[] = {
      {"in.png x.png --param nosuch=1", SOLVANE_OFX_BINARY_PATH, "no parameter nosuch"},
      {"in.png x.png --param mode=Sideways", SOLVANE_OFX_BINARY_PATH, "Spin, Zoom"},
      {"in.png x.png --param position=1", SOLVANE_OFX_BINARY_PATH, "2 comma-separated numbers"},
      {"in.png x.png --scale 0.3", SOLVANE_OFX_BINARY_PATH, "--scale takes 1/N"},
      {"in.png x.png --window 5,5,2,9", SOLVANE_OFX_BINARY_PATH, "--window"},
      {"missing.png x.png", SOLVANE_OFX_BINARY_PATH, "missing.png"},
      {"in.png x.png", SOLVANE_MODULE_PATH, "does not export OfxGetNumberOfPlugins"},
      {"in.png x.png", WorkDir() + "no-such.ofx", "cannot load"},
  };
  for (const auto& c : cases) {
    const ToolRun run = OfxRender(c.args, c.binary);
    EXPECT_NE(run.code, 0) << c.args;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << ": " << run.err;
  }
}

}  // namespace
}  // namespace solvane::ofx_host::test
