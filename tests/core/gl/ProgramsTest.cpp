// Program building from stage lists: the effect's two programs, compile and link failures
// with their logs, and deletion.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "GlTestSupport.h"
#include "Programs.h"
#include "ShaderSources.h"

namespace solvane {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

class Programs : public testing::GlContextTest {};

ShaderStageSlot Slot(const char* source) {
  return reinterpret_cast<ShaderStageSlot>(source);
}

GLint ProgramValue(GLuint program, GLenum pname) {
  GLint value = -1;
  glGetProgramiv(program, pname, &value);
  return value;
}

TEST_F(Programs, EffectProgramsLinkWithTheirInterfaceAndNoShadersLeft) {
  GLuint ids[2] = {0, 0};
  CaptureStdout();
  BuildEffectPrograms(ids);
  EXPECT_EQ(GetCapturedStdout(), "");
  ASSERT_NE(ids[0], 0u);
  ASSERT_NE(ids[1], 0u);
  EXPECT_NE(ids[0], ids[1]);
  for (GLuint id : ids) {
    EXPECT_EQ(ProgramValue(id, GL_LINK_STATUS), GL_TRUE);
    EXPECT_EQ(ProgramValue(id, GL_ATTACHED_SHADERS), 0);
    EXPECT_NE(glGetAttribLocation(id, "inVertex"), -1);
    EXPECT_NE(glGetAttribLocation(id, "inTexCoord"), -1);
  }
  EXPECT_EQ(glGetFragDataLocation(ids[0], "FragColour"), 0);
  EXPECT_EQ(glGetFragDataLocation(ids[1], "FragColor"), 0);
  for (const char* name :
       {"inTex", "thresholdF", "thresholdSmoothF", "thresholdModeL", "presentViewL"}) {
    EXPECT_NE(glGetUniformLocation(ids[0], name), -1) << name;
  }
  for (const char* name :
       {"inTex", "posX", "posY", "samplesF", "decayF", "densityF", "weightF", "jitterF", "modeL",
        "forwardL", "backwardL", "caF", "aberration_channelL", "aspectF", "unmultL"}) {
    EXPECT_NE(glGetUniformLocation(ids[1], name), -1) << name;
  }
  EXPECT_THAT(std::string(kVertexShaderSource), StartsWith("#version 330 core\n"));
  EXPECT_THAT(std::string(kPreprocessShaderSource), StartsWith("#version 330 core\n"));
  EXPECT_THAT(std::string(kRayShaderSource), StartsWith("#version 330 core\n"));
}

TEST_F(Programs, SyntaxErrorPrintsTheLogCutTo255AndYieldsZero) {
  // Every line is its own error, so the log runs far past 256 bytes.
  std::string broken = "#version 330 core\nout vec4 c;\nvoid main() {\n";
  for (int i = 0; i < 40; ++i) broken += "  c = undeclared" + std::to_string(i) + ";\n";
  broken += "}\n";
  // The broken stage is the only one, so the link is left with nothing and fails too.
  const ShaderStageSlot stages[] = {GL_FRAGMENT_SHADER, Slot(broken.c_str()), 0};

  // The full log, read with room to spare, for comparison.
  const GLuint probe = glCreateShader(GL_FRAGMENT_SHADER);
  const char* text = broken.c_str();
  glShaderSource(probe, 1, &text, nullptr);
  glCompileShader(probe);
  std::string fullLog(4096, '\0');
  glGetShaderInfoLog(probe, 4096, nullptr, fullLog.data());
  glDeleteShader(probe);
  ASSERT_GT(fullLog.find('\0'), 255u);

  CaptureStdout();
  const GLuint program = BuildProgram(stages, "");
  const std::string output = GetCapturedStdout();
  EXPECT_EQ(program, 0u);
  EXPECT_THAT(output, StartsWith("Compile Shader Failed - " + fullLog.substr(0, 255) + "\n"));
  EXPECT_THAT(output, HasSubstr("Link Program Failed - "));
}

TEST_F(Programs, PrefixGoesInFrontOfEveryStage) {
  const char* body = "out vec4 c;\nvoid main() { c = vec4(VALUE); }\n";
  const char* vertex = "in vec4 p;\nvoid main() { gl_Position = p * VALUE; }\n";
  const ShaderStageSlot stages[] = {GL_VERTEX_SHADER, Slot(vertex), GL_FRAGMENT_SHADER, Slot(body),
                                    0};
  CaptureStdout();
  GLuint program = BuildProgram(stages, "#version 330 core\n#define VALUE 1.0\n");
  EXPECT_EQ(GetCapturedStdout(), "");
  EXPECT_NE(program, 0u);
  DeleteProgram(&program);
}

TEST_F(Programs, UnknownSlotsArePassedOverAndAnEmptyListMakesNoShader) {
  const ShaderStageSlot withJunk[] = {0x1234,
                                      GL_VERTEX_SHADER,
                                      Slot(kVertexShaderSource),
                                      GL_FRAGMENT_SHADER,
                                      Slot(kPreprocessShaderSource),
                                      0};
  GLuint program = BuildProgram(withJunk, "");
  EXPECT_NE(program, 0u);
  DeleteProgram(&program);

  const ShaderStageSlot empty[] = {0};
  CaptureStdout();
  program = BuildProgram(empty, "");
  EXPECT_THAT(GetCapturedStdout(), ::testing::Not(HasSubstr("Compile Shader Failed")));
  EXPECT_TRUE(testing::LiveNames(glIsShader).empty());
  if (program != 0) {
    EXPECT_EQ(ProgramValue(program, GL_ATTACHED_SHADERS), 0);
  }
  DeleteProgram(&program);
}

TEST_F(Programs, PendingGlErrorAfterLinkingIsPrintedAndDoesNotFailTheBuild) {
  glEnable(0xFFFF);  // leaves GL_INVALID_ENUM pending
  CaptureStdout();
  GLuint program = BuildProgram(PreprocessStageList(), "");
  EXPECT_EQ(GetCapturedStdout(), "Prog Error: 1280\n");
  EXPECT_NE(program, 0u);
  DeleteProgram(&program);
}

TEST_F(Programs, NullAndZeroSlotsAreLeftAlone) {
  BuildEffectPrograms(nullptr);
  EXPECT_TRUE(testing::LiveNames(glIsProgram).empty());
  GLuint none = 0;
  DeleteProgram(&none);
  DeleteProgram(nullptr);
  EXPECT_EQ(none, 0u);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  GLuint ids[2] = {0, 0};
  BuildEffectPrograms(ids);
  const GLuint built = ids[0];
  DeleteProgram(&ids[0]);
  EXPECT_EQ(ids[0], 0u);
  EXPECT_FALSE(glIsProgram(built));
  DeleteProgram(&ids[1]);
}

}  // namespace
}  // namespace solvane
