// The frame does not clear the target it uploads the input into. These tests hold it to
// what that relies on: the upload overwrites it whole, whatever it held before, so a
// frame is byte for byte what it was when every target was cleared first. The pass
// targets are held to the same (a full-target quad overwrites them), which is what any
// further saving of clears would rest on.
#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "FrameTestSupport.h"
#include "core/gl/GLApi.h"
#include "core/gl/Pod.h"
#include "core/gl/Quad.h"
#include "core/gl/RenderTarget.h"
#include "host/TransferSuite.h"
#include "core/render/ThreadResources.h"

namespace solvane::frametest {
namespace {

// Records every uniform value applied, per program drawn.
class Recorder : public UniformObserver {
 public:
  Recorder() : previous_(SetUniformObserver(this)) {}
  ~Recorder() override { SetUniformObserver(previous_); }
  void OnUniformApplied(GLuint program, std::string_view name, const UniformValue& value) override {
    std::lock_guard lock(mutex_);
    if (programs_.empty() || programs_.back() != program) {
      programs_.push_back(program);
      tables_.emplace_back();
    }
    tables_.back()[std::string(name)] = value;
  }
  std::vector<UniformTable> tables_;

 private:
  std::mutex mutex_;
  UniformObserver* previous_;
  std::vector<GLuint> programs_;
};

UniformTable WithTexture(UniformTable table, GLuint texture) {
  table["inTex"] = UniformValue::Texture2D(texture);
  return table;
}

// A target whose every texel holds values no pass writes, in place of a clear.
void CreatePoisoned(RenderTarget& target, GLint width, GLint height, GLenum wrap, bool poison) {
  CreateRenderTarget(target, width, height, wrap, GL_RGBA32F);
  ClearRenderTarget(target);
  if (!poison) return;
  glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  glClearColor(7.0f, -3.0f, 1e6f, 0.25f);
  glClear(GL_COLOR_BUFFER_BIT);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

struct FrameCase {
  Controls controls;
  int depth;
};

// The frame's GPU part and composite through the toolkit, with every target cleared (or,
// with `poison`, filled with junk) before use, into a copy of the output world.
host::World StageFrame(host::Host& host, const host::World& input, const host::FrameResult& real,
                       const std::vector<UniformTable>& passes, const FrameCase& fc, bool poison) {
  const GLResources* gl =
      AcquireThreadResources(static_cast<const GLResources*>(*host.GlobalData()));
  const Controls& c = fc.controls;
  const GLenum wrap = c.repeatEdges ? GL_MIRRORED_REPEAT : GL_CLAMP_TO_BORDER;
  const int offset = int(c.bufferExpansion);
  host::World output(real.output.Width(), real.output.Height(), fc.depth);
  const PF_EffectWorld& in = *input.Get();
  RenderTarget preprocessed, uploaded, placed, rays;
  CreatePoisoned(preprocessed, in.width, in.height, wrap, poison);
  CreatePoisoned(uploaded, in.width, in.height, wrap, poison);
  UploadToTexture(uploaded.attachment.texture, ViewOf(input));
  DrawQuad(preprocessed, gl->preprocessProgram, WithTexture(passes[0], uploaded.attachment.texture),
           false, {}, false);
  DeleteRenderTarget(&uploaded);
  CreatePoisoned(placed, output.Width(), output.Height(), wrap, false);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, preprocessed.framebuffer);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, placed.framebuffer);
  glBlitFramebuffer(0, 0, in.width, in.height, offset, offset, offset + in.width,
                    offset + in.height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  DeleteRenderTarget(&preprocessed);
  if (c.view == 1) {
    ReadRenderTarget(placed, ViewOf(output), GL_COLOR_ATTACHMENT0);
  } else {
    CreatePoisoned(rays, output.Width(), output.Height(), wrap, poison);
    DrawQuad(rays, gl->rayProgram, WithTexture(passes[1], placed.attachment.texture), false, {},
             false);
    ReadRenderTarget(rays, ViewOf(output), GL_COLOR_ATTACHMENT0);
    DeleteRenderTarget(&rays);
  }
  DeleteRenderTarget(&placed);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  for (const host::TransferCall& t : real.transfers) {
    EXPECT_EQ(host::TransferRect(reinterpret_cast<PF_ProgPtr>(&host), t.quality, t.modeFlags,
                                 t.field, t.hasSourceRect ? &t.sourceRect : nullptr, input.Get(),
                                 &t.mode, nullptr, t.destX, t.destY, output.Get()),
              PF_Err_NONE);
  }
  return output;
}

std::vector<FrameCase> Cases() {
  std::vector<FrameCase> cases;
  for (const int depth : {8, 32}) {
    Controls zoom;
    Controls spin;
    spin.mode = 1;
    spin.spinAmount = 40;
    Controls aberration;
    aberration.aberrationAmount = 60;
    aberration.direction = 3;
    Controls expanded;
    expanded.bufferExpansion = 5;
    expanded.repeatEdges = false;
    Controls solo;
    solo.view = 2;
    solo.unmult = false;
    Controls processed;
    processed.view = 1;
    processed.threshold = 20;
    for (const Controls& c : {zoom, spin, aberration, expanded, solo, processed}) {
      cases.push_back({c, depth});
    }
  }
  return cases;
}

TEST(FramePassesIdentity, FramesMatchTheFramesDrawnWithEveryTargetClearedByteForByte) {
  constexpr int kWidth = 37, kHeight = 23;
  auto host = MakeEffectHost(kWidth, kHeight, /*linked=*/true);
  ASSERT_NE(host, nullptr);
  for (const FrameCase& fc : Cases()) {
    ApplyControls(*host, fc.controls);
    const host::World input = Pattern(kWidth, kHeight, fc.depth);
    Recorder recorder;
    const host::FrameResult real =
        host::RenderFrameThroughModule(*host, input, {.depth = fc.depth});
    ASSERT_EQ(real.err, PF_Err_NONE);
    ASSERT_EQ(recorder.tables_.size(), fc.controls.view == 1 ? 1u : 2u);
    for (const bool poison : {false, true}) {
      const host::World staged = StageFrame(*host, input, real, recorder.tables_, fc, poison);
      EXPECT_TRUE(host::SameBytes(staged, real.output))
          << "mode " << fc.controls.mode << ", view " << fc.controls.view << ", depth " << fc.depth
          << ", expansion " << fc.controls.bufferExpansion << (poison ? ", junk" : "");
    }
  }
}

// The upload replaces every texel, padded host rows included, whatever the texture held.
TEST(FramePassesIdentity, UploadReplacesEveryTexelOfAFilledTexture) {
  constexpr int kWidth = 19, kHeight = 11;
  auto host = MakeEffectHost(kWidth, kHeight, /*linked=*/true);
  ASSERT_NE(host, nullptr);
  ASSERT_NE(AcquireThreadResources(static_cast<const GLResources*>(*host->GlobalData())), nullptr);
  for (const int depth : {8, 32}) {
    const host::World input = Pattern(kWidth, kHeight, depth, /*rowPadding=*/depth == 8 ? 12 : 48);
    RenderTarget target;
    CreatePoisoned(target, kWidth, kHeight, GL_CLAMP_TO_BORDER, true);
    UploadToTexture(target.attachment.texture, ViewOf(input));
    host::World back(kWidth, kHeight, depth, depth == 8 ? 12 : 48);
    ReadRenderTarget(target, ViewOf(back), GL_COLOR_ATTACHMENT0);
    DeleteRenderTarget(&target);
    EXPECT_EQ(host::MaxChannelDifference(back, input), 0.0f) << depth;
  }
}

}  // namespace
}  // namespace solvane::frametest
