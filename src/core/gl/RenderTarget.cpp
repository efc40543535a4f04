#include "RenderTarget.h"

#include "Diagnostics.h"

namespace solvane {
namespace {

struct TextureFormat {
  GLenum pixelFormat;
  GLenum pixelType;
  GLint filter;
};

// Float colour formats filter linearly; integer and depth formats cannot.
TextureFormat FormatFor(GLenum internalFormat) {
  switch (internalFormat) {
    case GL_RGBA32I:
      return {GL_RGBA_INTEGER, GL_INT, GL_NEAREST};
    case GL_DEPTH_COMPONENT32F:
      return {GL_DEPTH_COMPONENT, GL_FLOAT, GL_NEAREST};
    default:
      return {GL_RGBA, GL_FLOAT, GL_LINEAR};
  }
}

GLenum PixelType(PixelFormat format) {
  return format == PixelFormat::kArgbFloat ? GL_FLOAT : GL_UNSIGNED_BYTE;
}

// GL's row length counts pixels.
GLint RowLength(const PixelView& pixels) {
  return static_cast<GLint>(pixels.rowBytes / BytesPerPixel(pixels.format));
}

}  // namespace

void CreateRenderTarget(RenderTarget& target, GLint width, GLint height, GLenum wrap,
                        GLenum internalFormat) {
  target = RenderTarget{};
  if (internalFormat == GL_RGBA32I) ReportImageTypeInt();
  const TextureFormat format = FormatFor(internalFormat);

  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrap));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrap));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, format.filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, format.filter);
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(internalFormat), width, height, 0,
               format.pixelFormat, format.pixelType, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);

  target.attachment = {width, height, internalFormat, texture, GL_TEXTURE_2D};
  target.framebuffer = AttachFramebuffer(target.attachment);
  // Nobody can delete a target without a framebuffer, so its texture goes now.
  if (target.framebuffer == 0) {
    glDeleteTextures(1, &target.attachment.texture);
    target.attachment.texture = 0;
  }
}

GLuint AttachFramebuffer(const TextureAttachment& attachment) {
  GLuint framebuffer = 0;
  glGenFramebuffers(1, &framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  if (attachment.texture != 0) {
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, attachment.textureTarget,
                           attachment.texture, 0);
  }
  const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
  if (status == GL_FRAMEBUFFER_COMPLETE) return framebuffer;
  ReportFramebufferError(FramebufferStatusName(status), status);
  glDeleteFramebuffers(1, &framebuffer);
  return 0;
}

std::string_view FramebufferStatusName(GLenum status) {
  switch (status) {
    case GL_FRAMEBUFFER_UNDEFINED:
      return "GL_FRAMEBUFFER_UNDEFINED";
    case GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT:
      return "GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT";
    case GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT:
      return "GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT";
    case GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER:
      return "GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER";
    case GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER:
      return "GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER";
    case GL_FRAMEBUFFER_UNSUPPORTED:
      return "GL_FRAMEBUFFER_UNSUPPORTED";
    case GL_FRAMEBUFFER_INCOMPLETE_MULTISAMPLE:
      return "GL_FRAMEBUFFER_INCOMPLETE_MULTISAMPLE";
    case GL_FRAMEBUFFER_INCOMPLETE_LAYER_TARGETS:
      return "GL_FRAMEBUFFER_INCOMPLETE_LAYER_TARGETS";
    default:
      return "";
  }
}

void ClearRenderTarget(const RenderTarget& target) {
  if (target.framebuffer == 0) return;
  glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void DeleteRenderTarget(RenderTarget* target) {
  if (!target || target->framebuffer == 0) return;
  if (target->attachment.texture != 0) {
    glDeleteTextures(1, &target->attachment.texture);
    target->attachment.texture = 0;
  } else {
    ReportFramebufferNeverInitialised();
  }
  glDeleteFramebuffers(1, &target->framebuffer);
  target->framebuffer = 0;
}

void UploadToTexture(GLuint texture, const PixelView& pixels) {
  if (texture == 0) ReportUploadWithoutTexture();
  glBindTexture(GL_TEXTURE_2D, texture);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, RowLength(pixels));
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, pixels.width, pixels.height, GL_RGBA,
                  PixelType(pixels.format), pixels.data);
  glBindTexture(GL_TEXTURE_2D, 0);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

void ReadRenderTarget(const RenderTarget& target, const PixelView& pixels, GLenum readBuffer) {
  glFinish();
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  glReadBuffer(readBuffer);
  glPixelStorei(GL_PACK_ROW_LENGTH, RowLength(pixels));
  glReadPixels(0, 0, pixels.width, pixels.height, GL_RGBA, PixelType(pixels.format), pixels.data);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

GLuint CreateBuffer(const void* data, GLsizeiptr size, GLenum bufferTarget, GLenum usage) {
  GLuint buffer = 0;
  glGenBuffers(1, &buffer);
  glBindBuffer(bufferTarget, buffer);
  glBufferData(bufferTarget, size, data, usage);
  const GLenum error = glGetError();
  if (error != GL_NO_ERROR) ReportCreateBufferError(error);
  return buffer;
}

}  // namespace solvane
