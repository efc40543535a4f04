#include "GlTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

#include "Quad.h"

namespace solvane::testing {

void GlContextTest::SetUp() {
  context_ = CreateOffscreenContext(nullptr);
  ASSERT_TRUE(IsContextValid(context_)) << "no OpenGL 3.2 core context could be created";
}

void GlContextTest::TearDown() {
  DestroyOffscreenContext(context_);
  FreeOffscreenContext(context_);
}

HostWorld::HostWorld(int width, int height, int depth, int padBytes)
    : depth_(depth), padBytes_(padBytes) {
  const int bytesPerPixel = depth == 32 ? 16 : 4;
  const int rowbytes = width * bytesPerPixel + padBytes;
  storage_.assign(static_cast<size_t>(rowbytes) * height, 0);
  for (int y = 0; y < height; ++y) {
    std::fill_n(storage_.begin() + static_cast<std::ptrdiff_t>(y) * rowbytes + rowbytes - padBytes,
                padBytes, kPadByte);
  }
  world_.data = reinterpret_cast<PF_PixelPtr>(storage_.data());
  world_.rowbytes = rowbytes;
  world_.width = width;
  world_.height = height;
}

float* HostWorld::FloatPixel(int x, int y) {
  return reinterpret_cast<float*>(storage_.data() + static_cast<size_t>(y) * world_.rowbytes) +
         static_cast<size_t>(x) * 4;
}

std::uint8_t* HostWorld::BytePixel(int x, int y) {
  return storage_.data() + static_cast<size_t>(y) * world_.rowbytes + static_cast<size_t>(x) * 4;
}

bool HostWorld::PaddingIntact() const {
  for (int y = 0; y < world_.height; ++y) {
    const auto rowEnd = storage_.begin() + static_cast<std::ptrdiff_t>(y + 1) * world_.rowbytes;
    if (!std::all_of(rowEnd - padBytes_, rowEnd, [](std::uint8_t b) { return b == kPadByte; })) {
      return false;
    }
  }
  return true;
}

reference::Image HostWorld::ToImage() const {
  reference::Image image(world_.width, world_.height);
  for (int y = 0; y < world_.height; ++y) {
    std::memcpy(&image.pixels[static_cast<size_t>(y) * world_.width * 4],
                storage_.data() + static_cast<size_t>(y) * world_.rowbytes,
                static_cast<size_t>(world_.width) * 16);
  }
  return image;
}

HostWorld HostWorld::FromImage(const reference::Image& image, int padBytes) {
  HostWorld host(image.width, image.height, 32, padBytes);
  for (int y = 0; y < image.height; ++y) {
    std::memcpy(host.FloatPixel(0, y), &image.pixels[static_cast<size_t>(y) * image.width * 4],
                static_cast<size_t>(image.width) * 16);
  }
  return host;
}

reference::Image RunProgram(GLuint program, const reference::Image& input, GLenum wrap, int width,
                            int height, UniformTable uniforms) {
  RenderTarget source;
  CreateRenderTarget(source, input.width, input.height, wrap, GL_RGBA32F);
  HostWorld in = HostWorld::FromImage(input);
  UploadToTexture(source.attachment.texture, in.world(), 32);

  RenderTarget output;
  CreateRenderTarget(output, width, height, wrap, GL_RGBA32F);
  uniforms["inTex"] = UniformValue::Texture2D(source.attachment.texture);
  DrawQuad(output, program, uniforms, false, TexRect{}, false);

  HostWorld out(width, height, 32);
  ReadRenderTarget(output, out.world(), 32, GL_COLOR_ATTACHMENT0);
  DeleteRenderTarget(&output);
  DeleteRenderTarget(&source);
  return out.ToImage();
}

::testing::AssertionResult ImagesNear(const reference::Image& actual,
                                      const reference::Image& expected, float tolerance) {
  if (actual.width != expected.width || actual.height != expected.height) {
    return ::testing::AssertionFailure() << "sizes differ";
  }
  for (size_t i = 0; i < expected.pixels.size(); ++i) {
    const float e = expected.pixels[i];
    const float a = actual.pixels[i];
    if (std::fabs(a - e) <= tolerance * std::max(1.0f, std::fabs(e))) continue;
    const size_t pixel = i / 4;
    return ::testing::AssertionFailure()
           << "pixel (" << pixel % expected.width << ", " << pixel / expected.width
           << ") component " << i % 4 << ": got " << a << ", expected " << e;
  }
  return ::testing::AssertionSuccess();
}

std::vector<GLuint> LiveNames(GLboolean (*isName)(GLuint), GLuint limit) {
  std::vector<GLuint> live;
  for (GLuint name = 1; name <= limit; ++name) {
    if (isName(name)) live.push_back(name);
  }
  return live;
}

}  // namespace solvane::testing
