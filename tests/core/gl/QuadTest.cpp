// The full-screen quad and the program interface: coverage and orientation, texture
// rectangles, uniform and attribute binding by name with their messages, and that a draw
// leaves no GL object behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GlTestSupport.h"
#include "Pod.h"
#include "Programs.h"
#include "Quad.h"
#include "ShaderSources.h"

namespace solvane {
namespace {

using ::testing::HasSubstr;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

class Quad : public testing::GlContextTest {
 protected:
  GLuint Build(const char* fragment, const char* vertex = kVertexShaderSource) {
    const ShaderStageSlot stages[] = {GL_VERTEX_SHADER, reinterpret_cast<ShaderStageSlot>(vertex),
                                      GL_FRAGMENT_SHADER,
                                      reinterpret_cast<ShaderStageSlot>(fragment), 0};
    GLuint program = BuildProgram(stages, "");
    EXPECT_NE(program, 0u);
    return program;
  }

  // Draws into a fresh width x height float target and returns its pixels.
  reference::Image Draw(GLuint program, const UniformTable& uniforms, int width, int height,
                        bool useTexRect = false, const TexRect& rect = {}) {
    RenderTarget target;
    CreateRenderTarget(target, width, height, GL_CLAMP_TO_BORDER, GL_RGBA32F);
    DrawQuad(target, program, uniforms, useTexRect, rect, false);
    testing::PaddedPixels out(width, height, PixelFormat::kArgbFloat);
    ReadRenderTarget(target, out.view(), GL_COLOR_ATTACHMENT0);
    DeleteRenderTarget(&target);
    return out.ToImage();
  }
};

constexpr char kCoordinates[] = R"(#version 330 core
in vec2 out_uvs;
out vec4 c;
uniform float scale;
uniform int offset;
void main() { c = vec4(out_uvs, scale, float(offset)); }
)";

TEST_F(Quad, CoversTheTargetWithCoordinatesFromZeroToOneRowZeroFirst) {
  const GLuint program = Build(kCoordinates);
  CaptureStdout();
  const reference::Image image = Draw(
      program, {{"scale", UniformValue::Float(2.5f)}, {"offset", UniformValue::Int(-4)}}, 4, 2);
  EXPECT_EQ(GetCapturedStdout(), "");
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) {
      const reference::Rgba p = image.At(x, y);
      EXPECT_NEAR(p[0], (x + 0.5f) / 4.0f, 1e-6f);
      EXPECT_NEAR(p[1], (y + 0.5f) / 2.0f, 1e-6f);
      EXPECT_EQ(p[2], 2.5f);
      EXPECT_EQ(p[3], -4.0f);
    }
  }
}

TEST_F(Quad, TexRectReplacesTheDefaultCoordinates) {
  const GLuint program = Build(kCoordinates);
  const UniformTable uniforms = {{"scale", UniformValue::Float(0)},
                                 {"offset", UniformValue::Int(0)}};
  const reference::Image image = Draw(program, uniforms, 2, 2, true, {0.25, 0.5, 0.75, 1.0});
  EXPECT_NEAR(image.At(0, 0)[0], 0.375f, 1e-6f);
  EXPECT_NEAR(image.At(1, 1)[0], 0.625f, 1e-6f);
  EXPECT_NEAR(image.At(0, 0)[1], 0.625f, 1e-6f);
  EXPECT_NEAR(image.At(1, 1)[1], 0.875f, 1e-6f);
}

TEST_F(Quad, UnsetUniformsAreListedAndUnknownNamesIgnoredSilently) {
  const GLuint program = Build(kCoordinates);
  CaptureStdout();
  Draw(program, {{"scale", UniformValue::Float(1)}, {"notInTheProgram", UniformValue::Int(1)}}, 1,
       1);
  EXPECT_EQ(GetCapturedStdout(), "Num Uniforms: 2\nThe Following Uniforms are not set:\noffset\n");
}

TEST_F(Quad, UniformErrorPrintsNameLocationCodeAndValue) {
  const GLuint program = Build(kCoordinates);
  const GLint location = glGetUniformLocation(program, "offset");
  CaptureStdout();
  Draw(program, {{"scale", UniformValue::Float(1)}, {"offset", UniformValue::Float(1.5f)}}, 1, 1);
  const std::string loc = std::to_string(location);
  EXPECT_EQ(GetCapturedStdout(),
            "Uniform Error: offset:" + loc + ":1282\nUni Index: " + loc + "\nUni Value: 1.5\n");
}

TEST_F(Quad, TwoSamplersLandOnUnitsZeroAndOne) {
  const GLuint program = Build(R"(#version 330 core
in vec2 out_uvs;
out vec4 c;
uniform sampler2D first;
uniform sampler2D second;
void main() { c = vec4(texture(first, out_uvs).xy, texture(second, out_uvs).xy); }
)");
  RenderTarget a, b;
  CreateRenderTarget(a, 1, 1, GL_CLAMP_TO_BORDER, GL_RGBA32F);
  CreateRenderTarget(b, 1, 1, GL_CLAMP_TO_BORDER, GL_RGBA32F);
  testing::PaddedPixels pa(1, 1, PixelFormat::kArgbFloat), pb(1, 1, PixelFormat::kArgbFloat);
  pa.FloatPixel(0, 0)[0] = 1.0f, pa.FloatPixel(0, 0)[1] = 2.0f;
  pb.FloatPixel(0, 0)[0] = 3.0f, pb.FloatPixel(0, 0)[1] = 4.0f;
  UploadToTexture(a.attachment.texture, pa.view());
  UploadToTexture(b.attachment.texture, pb.view());
  const UniformTable uniforms = {{"first", UniformValue::Texture2D(a.attachment.texture)},
                                 {"second", UniformValue::Texture2D(b.attachment.texture)}};
  ApplyPodUniforms(program, uniforms);
  GLint units[2] = {-1, -1};
  glGetUniformiv(program, glGetUniformLocation(program, "first"), &units[0]);
  glGetUniformiv(program, glGetUniformLocation(program, "second"), &units[1]);
  EXPECT_THAT(units, ::testing::UnorderedElementsAre(0, 1));
  EXPECT_THAT(Draw(program, uniforms, 1, 1).pixels, ::testing::ElementsAre(1, 2, 3, 4));
  DeleteRenderTarget(&a);
  DeleteRenderTarget(&b);
}

TEST_F(Quad, MatrixIsPassedUntransposed) {
  const GLuint program = Build(R"(#version 330 core
out vec4 c;
uniform mat4 m;
void main() { c = m[1]; }
)");
  std::array<float, 16> columns{};
  for (size_t i = 0; i < columns.size(); ++i) columns[i] = static_cast<float>(i);
  const UniformTable uniforms = {{"m", UniformValue::Matrix4(columns)}};
  EXPECT_THAT(Draw(program, uniforms, 1, 1).pixels, ::testing::ElementsAre(4, 5, 6, 7));
}

TEST_F(Quad, AttributesWithoutSourceAreListedBuiltInsAreNot) {
  const GLuint extra = Build("#version 330 core\nout vec4 c;\nvoid main() { c = vec4(1); }\n",
                             R"(#version 330 core
in vec4 inVertex;
in vec4 inExtra;
void main() { gl_Position = inVertex + inExtra * 1e-9; }
)");
  CaptureStdout();
  Draw(extra, {}, 1, 1);
  EXPECT_THAT(GetCapturedStdout(), HasSubstr("The Following Attributes are not set:\ninExtra\n"));

  const GLuint builtIn = Build("#version 330 core\nout vec4 c;\nvoid main() { c = vec4(1); }\n",
                               R"(#version 330 core
void main() { gl_Position = vec4(float(gl_VertexID), 0.0, 0.0, 1.0); }
)");
  CaptureStdout();
  Draw(builtIn, {}, 1, 1);
  EXPECT_THAT(GetCapturedStdout(), ::testing::Not(HasSubstr("are not set")));
}

TEST_F(Quad, ProgramZeroReportsEveryMissingPart) {
  CaptureStdout();
  Draw(0, {}, 1, 1);
  const std::string output = GetCapturedStdout();
  EXPECT_THAT(output, HasSubstr("Active Attrib Error: 501\n"));
  EXPECT_THAT(output, HasSubstr("No Active Attribs shader: 0\n"));
  EXPECT_THAT(output, HasSubstr("Program Not Linked : 0\n"));
  EXPECT_THAT(output, HasSubstr("No Active Uniforms for prog: 0\n"));
}

TEST_F(Quad, DrawAndDeleteLeaveNoGlObjectBehind) {
  GLuint programs[2] = {0, 0};
  BuildEffectPrograms(programs);
  reference::Image input(4, 4);
  const UniformTable uniforms = {{"thresholdF", UniformValue::Float(0)}};
  testing::RunProgram(programs[0], input, GL_CLAMP_TO_BORDER, 4, 4, uniforms);
  testing::RunProgram(programs[1], input, GL_MIRRORED_REPEAT, 4, 4, uniforms);
  EXPECT_TRUE(testing::LiveNames(glIsBuffer).empty());
  EXPECT_TRUE(testing::LiveNames(glIsVertexArray).empty());
  EXPECT_TRUE(testing::LiveNames(glIsTexture).empty());
  EXPECT_TRUE(testing::LiveNames(glIsFramebuffer).empty());

  GLint binding = -1;
  glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &binding);
  EXPECT_EQ(binding, 0);
  glGetIntegerv(GL_CURRENT_PROGRAM, &binding);
  EXPECT_EQ(binding, 0);
  DeleteProgram(&programs[0]);
  DeleteProgram(&programs[1]);
  EXPECT_TRUE(testing::LiveNames(glIsProgram).empty());
}

// Records what ApplyPodUniforms hands to the program.
class Recorder : public UniformObserver {
 public:
  void OnUniformApplied(GLuint, std::string_view name, const UniformValue& value) override {
    applied.emplace_back(std::string(name), FormatUniformValue(value));
  }
  std::vector<std::pair<std::string, std::string>> applied;
};

TEST_F(Quad, ObserverSeesTheValuesActuallyApplied) {
  const GLuint program = Build(kCoordinates);
  Recorder recorder;
  EXPECT_EQ(SetUniformObserver(&recorder), nullptr);
  Draw(program,
       {{"scale", UniformValue::Float(0.25f)},
        {"unused", UniformValue::Int(9)},
        {"offset", UniformValue::Int(3)}},
       1, 1);
  EXPECT_EQ(SetUniformObserver(nullptr), &recorder);
  EXPECT_THAT(recorder.applied,
              ::testing::UnorderedElementsAre(std::pair<std::string, std::string>{"scale", "0.25"},
                                              std::pair<std::string, std::string>{"offset", "3"}));
}

}  // namespace
}  // namespace solvane
