// Offscreen render targets (one framebuffer with one 2D texture as colour attachment 0),
// transfers between pixel views and GL, and plain buffer objects. A context must
// be current for every operation except FramebufferStatusName.
#pragma once

#include <string_view>

#include "PixelView.h"
#include "GLApi.h"

namespace solvane {

struct TextureAttachment {
  GLint width = 0;
  GLint height = 0;
  GLenum internalFormat = 0;
  GLuint texture = 0;
  GLenum textureTarget = 0;
};

// Owned by its caller: a render thread keeps its frame targets from one frame to the next.
struct RenderTarget {
  GLuint framebuffer = 0;  // 0 when creation failed or after deletion
  TextureAttachment attachment;
};

// Fills target with a new texture of the given size, wrap mode (both directions) and
// internal format, attached to a new framebuffer that is left bound. An incomplete
// framebuffer is printed and leaves framebuffer and texture 0.
void CreateRenderTarget(RenderTarget& target, GLint width, GLint height, GLenum wrap,
                        GLenum internalFormat);

// A new framebuffer with the attachment's texture (if any) as colour attachment 0, left
// bound; 0 after printing the status when it is incomplete.
GLuint AttachFramebuffer(const TextureAttachment& attachment);

// The status's GL name, or the empty text for a value that is no incompleteness status.
std::string_view FramebufferStatusName(GLenum status);

// Clears all four channels to 0; a target with framebuffer 0 is left alone.
void ClearRenderTarget(const RenderTarget& target);

// Deletes texture and framebuffer and zeroes their names; null or framebuffer 0 does
// nothing.
void DeleteRenderTarget(RenderTarget* target);

// Replaces the texture's level 0 from (0, 0) with the view's pixels in memory order,
// honouring padded rows. The view must be transferable (see IsTransferable).
void UploadToTexture(GLuint texture, const PixelView& pixels);

// Waits for the GPU, then reads the target's top-left view-sized area into the view's
// pixels at the view's row pitch.
void ReadRenderTarget(const RenderTarget& target, const PixelView& pixels, GLenum readBuffer);

// A new buffer filled with size bytes of data, left bound to bufferTarget.
GLuint CreateBuffer(const void* data, GLsizeiptr size, GLenum bufferTarget, GLenum usage);

}  // namespace solvane
