// The toolkit's messages and the pure parts of the GL code, with no context needed.
#include <gtest/gtest.h>

#include <iostream>

#include "Diagnostics.h"
#include "RenderTarget.h"
#include "UniformValue.h"

namespace solvane {
namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

TEST(Diagnostics, PrefixedMessagesAreJoinedWithThePrefix) {
  EXPECT_EQ(std::string(kDebugPrefix).size(), 17u);
  CaptureStdout();
  ReportUploadWithoutTexture();
  ReportCreateBufferError(1281);
  ReportPodHasBuffers();
  EXPECT_EQ(GetCapturedStdout(),
            "QR_DEBUG_SOLVANE UploadToTexture() called without valid texture\n"
            "QR_DEBUG_SOLVANE create buffer error: 1281\n"
            "QR_DEBUG_SOLVANE error: pod already has buffers\n");
}

TEST(Diagnostics, OnlyTheActiveAttribCodeIsHexadecimal) {
  CaptureStdout();
  ReportActiveAttribError(0x501);
  ReportBufferBindError(1282);
  std::cout << 255 << std::endl;
  EXPECT_EQ(GetCapturedStdout(), "Active Attrib Error: 501\nBuff:1282\n255\n");
}

TEST(Diagnostics, PiecesFollowEachOtherWithoutSeparators) {
  CaptureStdout();
  ReportAttribLocationError("inVertex", 1282);
  ReportVertexAttribError(1281);
  ReportUniformError("posX", 3, 1282, "0.5");
  EXPECT_EQ(GetCapturedStdout(),
            "Attrib Location:inVertex1282\n"
            " Vertex Attrib: 1281\n"
            "Uniform Error: posX:3:1282\nUni Index: 3\nUni Value: 0.5\n");
}

TEST(Diagnostics, NotSetListsPutOneNamePerLine) {
  CaptureStdout();
  ReportAttributesNotSet({"inExtra"});
  ReportUniformsNotSet(5, {"decayF", "posY"});
  EXPECT_EQ(GetCapturedStdout(),
            "The Following Attributes are not set:\ninExtra\n"
            "Num Uniforms: 5\nThe Following Uniforms are not set:\ndecayF\nposY\n");
}

TEST(Diagnostics, CMessagesKeepTheirOwnLineEnds) {
  CaptureStdout();
  PrintMessage(kMsgCoreContextFailed);
  PrintMessageLine(kMsgWindowCreationFailed);
  PrintProgramError(1280);
  PrintCompileFailed("0:1(1): error");
  EXPECT_EQ(GetCapturedStdout(),
            "OpenGL 4.1/3.2 Ctx can't be initialized.\n"
            "Window Creation Failed\n"
            "Prog Error: 1280\n"
            "Compile Shader Failed - 0:1(1): error\n");
}

TEST(FramebufferStatus, NamesEveryIncompletenessAndNothingElse) {
  EXPECT_EQ(FramebufferStatusName(0x8219), "GL_FRAMEBUFFER_UNDEFINED");
  EXPECT_EQ(FramebufferStatusName(0x8CD6), "GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT");
  EXPECT_EQ(FramebufferStatusName(0x8CD7), "GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT");
  EXPECT_EQ(FramebufferStatusName(0x8CDB), "GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER");
  EXPECT_EQ(FramebufferStatusName(0x8CDC), "GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER");
  EXPECT_EQ(FramebufferStatusName(0x8CDD), "GL_FRAMEBUFFER_UNSUPPORTED");
  EXPECT_EQ(FramebufferStatusName(0x8D56), "GL_FRAMEBUFFER_INCOMPLETE_MULTISAMPLE");
  EXPECT_EQ(FramebufferStatusName(0x8DA8), "GL_FRAMEBUFFER_INCOMPLETE_LAYER_TARGETS");
  EXPECT_EQ(FramebufferStatusName(GL_FRAMEBUFFER_COMPLETE), "");
  EXPECT_EQ(FramebufferStatusName(12345), "");

  CaptureStdout();
  ReportFramebufferError(FramebufferStatusName(12345), 12345);
  EXPECT_EQ(GetCapturedStdout(), "Framebuffer Error - Code: 12345\n");
}

TEST(UniformValue, TagsAndTextAgreeForEveryKind) {
  const UniformValue values[] = {UniformValue::UnsignedInt(4000000000u),
                                 UniformValue::Int(-3),
                                 UniformValue::IntVec2(1, -2),
                                 UniformValue::IntVec3(1, 2, 3),
                                 UniformValue::IntVec4(1, 2, 3, 4),
                                 UniformValue::Float(0.5f),
                                 UniformValue::FloatVec2(0.5f, -1.0f),
                                 UniformValue::FloatVec3(1, 2, 3),
                                 UniformValue::FloatVec4(1, 2, 3, 4.5f),
                                 UniformValue::Texture1D(7),
                                 UniformValue::Texture2D(9)};
  const char* texts[] = {"4000000000", "-3",      "1, -2",        "1, 2, 3", "1, 2, 3, 4", "0.5",
                         "0.5, -1",    "1, 2, 3", "1, 2, 3, 4.5", "7",       "9"};
  const std::uint32_t tags[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11};
  for (size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(values[i].tag, tags[i]);
    EXPECT_EQ(FormatUniformValue(values[i]), texts[i]);
  }
  std::array<float, 16> matrix{};
  for (size_t i = 0; i < matrix.size(); ++i) matrix[i] = static_cast<float>(i);
  EXPECT_EQ(UniformValue::Matrix4(matrix).tag, 9u);
  EXPECT_EQ(FormatUniformValue(UniformValue::Matrix4(matrix)),
            "0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15");
  EXPECT_EQ(sizeof(UniformValue), 68u);
}

}  // namespace
}  // namespace solvane
