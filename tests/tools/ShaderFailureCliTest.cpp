// A driver that offers OpenGL 3.2 but not GLSL 3.30 builds none of the effect's shaders
// (Mesa held at GLSL 1.50 stands in for one). The module must answer the render with its
// error instead of a frame of undefined pixels, and the tool must write nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/tools/CliProcess.h"

namespace solvane::cli {
namespace {

using testing::CliProcessOptions;
using testing::CliResult;
using testing::RunCli;
using testing::TemporaryFilesIn;
using testing::TestFolder;

TEST(ShadersThatDoNotBuild, FailTheRenderWithTheModulesErrorAndWriteNoFile) {
  const std::string dir = TestFolder("shaders_do_not_build");
  const std::string input = std::string(SOLVANE_SOURCE_DIR) + "/assets/demo/skyline.png";
  const std::string drawn = dir + "/drawn.png";
  const CliResult normal = RunCli({input, drawn});
  ASSERT_EQ(normal.code, 0) << normal.err;
  EXPECT_TRUE(std::filesystem::exists(drawn));

  CliProcessOptions glslTooOld;
  glslTooOld.env = {"MESA_GLSL_VERSION_OVERRIDE=150"};
  const std::string refused = dir + "/refused.png";
  const CliResult run = RunCli({input, refused}, glslTooOld);
  EXPECT_NE(run.code, 0);
  EXPECT_NE(run.err.find("PF_Err_INTERNAL_STRUCT_DAMAGED (512)"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(refused));
  EXPECT_EQ(TemporaryFilesIn(dir), 0);
}

}  // namespace
}  // namespace solvane::cli
