#include "GlTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "Quad.h"

namespace solvane::testing {

namespace {

// Set by the test script that CI runs, where llvmpipe is always there.
bool ContextRequired() {
  const char* required = std::getenv("SOLVANE_REQUIRE_GL");
  return required != nullptr && std::strcmp(required, "0") != 0 && *required != '\0';
}

}  // namespace

void GlContextTest::SetUp() {
  context_ = CreateOffscreenContext(nullptr);
  if (IsContextValid(context_)) return;
  if (ContextRequired()) {
    FAIL() << "no OpenGL 3.2 core context could be created, and SOLVANE_REQUIRE_GL is set";
  }
  GTEST_SKIP() << "no OpenGL 3.2 core context can be created on this machine (the messages "
                  "above say why); set SOLVANE_REQUIRE_GL=1 to fail instead";
}

void GlContextTest::TearDown() {
  DestroyOffscreenContext(context_);
  FreeOffscreenContext(context_);
}

PaddedPixels::PaddedPixels(int width, int height, PixelFormat format, int padBytes)
    : padBytes_(padBytes) {
  const int rowbytes = width * BytesPerPixel(format) + padBytes;
  storage_.assign(static_cast<size_t>(rowbytes) * height, 0);
  for (int y = 0; y < height; ++y) {
    std::fill_n(storage_.begin() + static_cast<std::ptrdiff_t>(y) * rowbytes + rowbytes - padBytes,
                padBytes, kPadByte);
  }
  view_ = {storage_.data(), rowbytes, width, height, format};
}

float* PaddedPixels::FloatPixel(int x, int y) {
  return reinterpret_cast<float*>(storage_.data() + static_cast<size_t>(y) * view_.rowBytes) +
         static_cast<size_t>(x) * 4;
}

std::uint8_t* PaddedPixels::BytePixel(int x, int y) {
  return storage_.data() + static_cast<size_t>(y) * view_.rowBytes + static_cast<size_t>(x) * 4;
}

bool PaddedPixels::PaddingIntact() const {
  for (int y = 0; y < view_.height; ++y) {
    const auto rowEnd = storage_.begin() + static_cast<std::ptrdiff_t>(y + 1) * view_.rowBytes;
    if (!std::all_of(rowEnd - padBytes_, rowEnd, [](std::uint8_t b) { return b == kPadByte; })) {
      return false;
    }
  }
  return true;
}

reference::Image PaddedPixels::ToImage() const {
  reference::Image image(view_.width, view_.height);
  for (int y = 0; y < view_.height; ++y) {
    std::memcpy(&image.pixels[static_cast<size_t>(y) * view_.width * 4],
                storage_.data() + static_cast<size_t>(y) * view_.rowBytes,
                static_cast<size_t>(view_.width) * 16);
  }
  return image;
}

PaddedPixels PaddedPixels::FromImage(const reference::Image& image, int padBytes) {
  PaddedPixels host(image.width, image.height, PixelFormat::kArgbFloat, padBytes);
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
  PaddedPixels in = PaddedPixels::FromImage(input);
  UploadToTexture(source.attachment.texture, in.view());

  RenderTarget output;
  CreateRenderTarget(output, width, height, wrap, GL_RGBA32F);
  uniforms["inTex"] = UniformValue::Texture2D(source.attachment.texture);
  DrawQuad(output, program, uniforms, false, TexRect{}, false);

  PaddedPixels out(width, height, PixelFormat::kArgbFloat);
  ReadRenderTarget(output, out.view(), GL_COLOR_ATTACHMENT0);
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
