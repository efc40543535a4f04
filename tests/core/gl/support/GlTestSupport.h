// Shared helpers for GL tests: a fixture that owns a fresh context per test, pixel views
// over owned storage with padded rows, and one call that runs a program over a float image
// and reads the result back. Where no context can be made the fixture skips its tests with
// a message saying so, or fails them when SOLVANE_REQUIRE_GL is set (as the test script
// sets it for CI, whose llvmpipe must always give one).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "OffscreenContext.h"
#include "PixelView.h"
#include "ReferenceModel.h"
#include "RenderTarget.h"
#include "UniformValue.h"

namespace solvane::testing {

class GlContextTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  OffscreenContext* context_ = nullptr;
};

// A pixel view over owned storage, alpha first like a host's buffers; rows are padBytes
// longer than the pixels need and the padding holds a recognisable byte.
class PaddedPixels {
 public:
  static constexpr std::uint8_t kPadByte = 0xA5;
  PaddedPixels(int width, int height, PixelFormat format, int padBytes = 0);

  const PixelView& view() const { return view_; }
  float* FloatPixel(int x, int y);
  std::uint8_t* BytePixel(int x, int y);
  bool PaddingIntact() const;

  reference::Image ToImage() const;  // float pixels only
  static PaddedPixels FromImage(const reference::Image& image, int padBytes = 0);

 private:
  int padBytes_;
  std::vector<std::uint8_t> storage_;
  PixelView view_{};
};

// Uploads input into a float texture with the given wrap, draws program over a
// width x height float target with the uniforms plus "inTex", and reads it back.
reference::Image RunProgram(GLuint program, const reference::Image& input, GLenum wrap, int width,
                            int height, UniformTable uniforms);

// True when every component is within tolerance x max(1, |expected|) of expected.
::testing::AssertionResult ImagesNear(const reference::Image& actual,
                                      const reference::Image& expected, float tolerance);

// All names 1..limit that are still live objects of the kind; empty means nothing leaked.
std::vector<GLuint> LiveNames(GLboolean (*isName)(GLuint), GLuint limit = 64);

}  // namespace solvane::testing
