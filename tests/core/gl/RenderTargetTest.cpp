// Render targets and the transfers between host worlds and GL: creation, incompleteness,
// clearing, deletion, padded rows, both depths, and the bindings left behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "GlTestSupport.h"
#include "RenderTarget.h"

namespace solvane {
namespace {

using testing::PaddedPixels;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

class RenderTargets : public testing::GlContextTest {};

GLint Integer(GLenum pname) {
  GLint value = -1;
  glGetIntegerv(pname, &value);
  return value;
}

GLint TextureParameter(GLuint texture, GLenum pname) {
  GLint value = -1;
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexParameteriv(GL_TEXTURE_2D, pname, &value);
  glBindTexture(GL_TEXTURE_2D, 0);
  return value;
}

void FillFloats(PaddedPixels& host) {
  for (int y = 0; y < host.view().height; ++y) {
    for (int x = 0; x < host.view().width; ++x) {
      float* p = host.FloatPixel(x, y);
      for (int c = 0; c < 4; ++c) p[c] = static_cast<float>(y * 100 + x * 10 + c) - 20.0f;
    }
  }
}

TEST_F(RenderTargets, FloatTargetIsCompleteBoundAndFilteredLinearly) {
  RenderTarget target;
  CreateRenderTarget(target, 5, 3, GL_MIRRORED_REPEAT, GL_RGBA32F);
  ASSERT_NE(target.framebuffer, 0u);
  EXPECT_EQ(Integer(GL_FRAMEBUFFER_BINDING), static_cast<GLint>(target.framebuffer));
  EXPECT_EQ(target.attachment.width, 5);
  EXPECT_EQ(target.attachment.height, 3);
  EXPECT_EQ(target.attachment.internalFormat, static_cast<GLenum>(GL_RGBA32F));
  EXPECT_EQ(target.attachment.textureTarget, static_cast<GLenum>(GL_TEXTURE_2D));
  const GLuint texture = target.attachment.texture;
  EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_WRAP_S), GL_MIRRORED_REPEAT);
  EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_WRAP_T), GL_MIRRORED_REPEAT);
  EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
  EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
  EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), 0);
  DeleteRenderTarget(&target);
}

TEST_F(RenderTargets, IntegerTargetIsAnnouncedAndFilteredNearest) {
  RenderTarget target;
  CaptureStdout();
  CreateRenderTarget(target, 2, 2, GL_CLAMP_TO_BORDER, GL_RGBA32I);
  EXPECT_EQ(GetCapturedStdout(), "Image Type is INT\n");
  ASSERT_NE(target.framebuffer, 0u);
  EXPECT_EQ(TextureParameter(target.attachment.texture, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
  DeleteRenderTarget(&target);
}

TEST_F(RenderTargets, IncompleteFramebufferIsPrintedAndLeavesNothingBehind) {
  CaptureStdout();
  EXPECT_EQ(AttachFramebuffer(TextureAttachment{}), 0u);
  EXPECT_EQ(GetCapturedStdout(),
            "Framebuffer Error - GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENTCode: 36055\n");

  RenderTarget target;
  CaptureStdout();
  CreateRenderTarget(target, 0, 0, GL_CLAMP_TO_BORDER, GL_RGBA32F);
  EXPECT_THAT(GetCapturedStdout(), ::testing::StartsWith("Framebuffer Error - GL_FRAMEBUFFER_"));
  EXPECT_EQ(target.framebuffer, 0u);
  EXPECT_EQ(target.attachment.texture, 0u);
  EXPECT_TRUE(testing::LiveNames(glIsFramebuffer).empty());
  EXPECT_TRUE(testing::LiveNames(glIsTexture).empty());
  EXPECT_EQ(Integer(GL_FRAMEBUFFER_BINDING), 0);
}

TEST_F(RenderTargets, ClearZeroesAllChannelsAndIgnoresFramebufferZero) {
  RenderTarget target;
  CreateRenderTarget(target, 3, 2, GL_CLAMP_TO_BORDER, GL_RGBA32F);
  PaddedPixels filled(3, 2, PixelFormat::kArgbFloat);
  FillFloats(filled);
  UploadToTexture(target.attachment.texture, filled.view());
  glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
  ClearRenderTarget(target);
  EXPECT_EQ(Integer(GL_FRAMEBUFFER_BINDING), 0);
  PaddedPixels result(3, 2, PixelFormat::kArgbFloat);
  ReadRenderTarget(target, result.view(), GL_COLOR_ATTACHMENT0);
  for (float v : result.ToImage().pixels) EXPECT_EQ(v, 0.0f);

  RenderTarget none;
  none.attachment.texture = target.attachment.texture;
  glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  ClearRenderTarget(none);
  EXPECT_EQ(Integer(GL_FRAMEBUFFER_BINDING), static_cast<GLint>(target.framebuffer));
  DeleteRenderTarget(&none);
  EXPECT_TRUE(glIsTexture(target.attachment.texture));
  DeleteRenderTarget(&target);
}

TEST_F(RenderTargets, DeleteReleasesBothNamesAndWarnsWithoutTexture) {
  RenderTarget target;
  CreateRenderTarget(target, 2, 2, GL_CLAMP_TO_BORDER, GL_RGBA32F);
  const GLuint framebuffer = target.framebuffer;
  const GLuint texture = target.attachment.texture;
  DeleteRenderTarget(&target);
  EXPECT_EQ(target.framebuffer, 0u);
  EXPECT_EQ(target.attachment.texture, 0u);
  EXPECT_FALSE(glIsFramebuffer(framebuffer));
  EXPECT_FALSE(glIsTexture(texture));
  DeleteRenderTarget(nullptr);
  DeleteRenderTarget(&target);

  RenderTarget bare;
  glGenFramebuffers(1, &bare.framebuffer);
  CaptureStdout();
  DeleteRenderTarget(&bare);
  EXPECT_EQ(GetCapturedStdout(),
            "Warning: Requested FBO be deleted but it was never init (may not be an issue but "
            "just in case)\n");
  EXPECT_EQ(bare.framebuffer, 0u);
}

TEST_F(RenderTargets, PaddedFloatRowsRoundTripWithoutSkew) {
  PaddedPixels source(3, 4, PixelFormat::kArgbFloat, 48);
  FillFloats(source);
  RenderTarget target;
  CreateRenderTarget(target, 3, 4, GL_CLAMP_TO_BORDER, GL_RGBA32F);
  UploadToTexture(target.attachment.texture, source.view());
  EXPECT_EQ(Integer(GL_UNPACK_ROW_LENGTH), 0);
  EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), 0);

  PaddedPixels result(3, 4, PixelFormat::kArgbFloat, 16);
  ReadRenderTarget(target, result.view(), GL_COLOR_ATTACHMENT0);
  EXPECT_EQ(Integer(GL_PACK_ROW_LENGTH), 0);
  EXPECT_EQ(Integer(GL_FRAMEBUFFER_BINDING), 0);
  EXPECT_TRUE(result.PaddingIntact());
  EXPECT_EQ(result.ToImage().pixels, source.ToImage().pixels);
  DeleteRenderTarget(&target);
}

TEST_F(RenderTargets, BytesBecomeUnitFloatsAndFloatsComeBackAsClampedBytes) {
  PaddedPixels bytes(2, 1, PixelFormat::kArgb8, 8);
  const std::uint8_t argb[4] = {255, 10, 20, 30};
  std::memcpy(bytes.BytePixel(0, 0), argb, 4);
  std::memcpy(bytes.BytePixel(1, 0), argb, 4);
  RenderTarget target;
  CreateRenderTarget(target, 2, 1, GL_CLAMP_TO_BORDER, GL_RGBA32F);
  UploadToTexture(target.attachment.texture, bytes.view());
  PaddedPixels floats(2, 1, PixelFormat::kArgbFloat);
  ReadRenderTarget(target, floats.view(), GL_COLOR_ATTACHMENT0);
  EXPECT_FLOAT_EQ(floats.FloatPixel(1, 0)[0], 1.0f);
  EXPECT_FLOAT_EQ(floats.FloatPixel(1, 0)[1], 10.0f / 255.0f);
  EXPECT_FLOAT_EQ(floats.FloatPixel(1, 0)[3], 30.0f / 255.0f);

  const float shaded[4] = {1.0f, 0.2f, 0.0f, 3.0f};
  std::memcpy(floats.FloatPixel(0, 0), shaded, sizeof(shaded));
  UploadToTexture(target.attachment.texture, floats.view());
  PaddedPixels back(2, 1, PixelFormat::kArgb8, 4);
  ReadRenderTarget(target, back.view(), GL_COLOR_ATTACHMENT0);
  EXPECT_THAT(std::vector<std::uint8_t>(back.BytePixel(0, 0), back.BytePixel(0, 0) + 4),
              ::testing::ElementsAre(255, 51, 0, 255));
  EXPECT_TRUE(back.PaddingIntact());
  DeleteRenderTarget(&target);
}

TEST_F(RenderTargets, UploadToTextureZeroIsPrintedAndChangesNoTexture) {
  PaddedPixels source(2, 2, PixelFormat::kArgbFloat);
  FillFloats(source);
  RenderTarget target;
  CreateRenderTarget(target, 2, 2, GL_CLAMP_TO_BORDER, GL_RGBA32F);
  UploadToTexture(target.attachment.texture, source.view());

  PaddedPixels other(2, 2, PixelFormat::kArgbFloat);
  CaptureStdout();
  UploadToTexture(0, other.view());
  EXPECT_EQ(GetCapturedStdout(),
            "QR_DEBUG_SOLVANE UploadToTexture() called without valid texture\n");
  EXPECT_NE(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  PaddedPixels result(2, 2, PixelFormat::kArgbFloat);
  ReadRenderTarget(target, result.view(), GL_COLOR_ATTACHMENT0);
  EXPECT_EQ(result.ToImage().pixels, source.ToImage().pixels);
  DeleteRenderTarget(&target);
}

TEST_F(RenderTargets, CreateBufferFillsAndBindsAndReportsGlErrors) {
  const float data[3] = {1.0f, 2.0f, 3.0f};
  CaptureStdout();
  const GLuint buffer = CreateBuffer(data, sizeof(data), GL_ARRAY_BUFFER, GL_STATIC_DRAW);
  EXPECT_EQ(GetCapturedStdout(), "");
  EXPECT_EQ(Integer(GL_ARRAY_BUFFER_BINDING), static_cast<GLint>(buffer));
  float stored[3] = {};
  glGetBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(stored), stored);
  EXPECT_EQ(stored[2], 3.0f);

  CaptureStdout();
  GLuint bad = CreateBuffer(data, sizeof(data), GL_ARRAY_BUFFER, 0);  // no such usage
  EXPECT_EQ(GetCapturedStdout(), "QR_DEBUG_SOLVANE create buffer error: 1280\n");
  EXPECT_NE(bad, 0u);
  glDeleteBuffers(1, &bad);
  glDeleteBuffers(1, &buffer);
}

}  // namespace
}  // namespace solvane
