// Runs the effect's real programs on small float images and compares them with the CPU
// reference model.
#pragma once

#include "GlTestSupport.h"
#include "Programs.h"
#include "ReferenceModel.h"

namespace solvane::testing {

// How closely GPU and reference must agree, relative to max(1, |expected|); needs a
// current context. Mesa's llvmpipe filters and computes in full float, so it is held to
// 2e-5, which still tells 0.333 from 1/3 in a capped alpha. Hardware GPUs weigh bilinear
// taps with 8 fractional bits; test images change by at most ~0.25 between neighbouring
// texels, which bounds one sample's error near 1e-3, hence 2e-3 there.
float PixelTolerance();

class ShaderTest : public GlContextTest {
 public:
  reference::Image RunPreprocess(const reference::Image& input,
                                 const reference::PreprocessUniforms& u,
                                 GLenum wrap = GL_CLAMP_TO_BORDER);
  reference::Image RunRays(const reference::Image& input, reference::Wrap wrap, int width,
                           int height, const reference::RayUniforms& u);

 protected:
  void SetUp() override;
  void TearDown() override;

  GLuint preprocess() const { return programs_[0]; }
  GLuint rays() const { return programs_[1]; }

 private:
  GLuint programs_[2] = {0, 0};
};

GLenum ToGl(reference::Wrap wrap);

// A w x h image with smooth, distinct values in every component, in [lo, lo + span].
reference::Image Pattern(int width, int height, float lo = 0.0f, float span = 1.0f);
reference::Image Constant(int width, int height, const reference::Rgba& value);

}  // namespace solvane::testing
