// A render thread keeps its frame's four render targets for its next frame. These tests
// hold that to what it must not change: every frame is byte for byte the frame a new
// thread (with no kept targets) draws, whatever the thread drew before; a thread holds
// exactly one set, replaced when sizes change and deleted after a failed frame or when it
// is over the budget.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "FrameTestSupport.h"
#include "GlTestSupport.h"
#include "core/gl/GLApi.h"
#include "core/render/FrameTargets.h"
#include "core/render/ThreadResources.h"

namespace solvane::frametest {
namespace {

constexpr GLuint kNameLimit = 4096;

GLboolean IsTexture(GLuint n) { return glIsTexture(n); }
GLboolean IsFramebuffer(GLuint n) { return glIsFramebuffer(n); }

std::vector<GLuint> LiveTextures() {
  return solvane::testing::LiveNames(IsTexture, kNameLimit);
}

int LiveFramebuffers() {
  return int(solvane::testing::LiveNames(IsFramebuffer, kNameLimit).size());
}

GLint WrapOf(GLuint texture) {
  GLint s = 0, t = 0;
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &s);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &t);
  glBindTexture(GL_TEXTURE_2D, 0);
  return s == t ? s : -1;
}

// A thread with a context and no kept targets, for the toolkit-level cases.
class FrameTargetSlots : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = MakeEffectHost(8, 8, /*linked=*/true);
    ASSERT_NE(host_, nullptr);
    ASSERT_NE(AcquireThreadResources(static_cast<const GLResources*>(*host_->GlobalData())),
              nullptr);
    DeleteFrameTargets(ThreadFrameTargets());
  }
  void TearDown() override { DeleteFrameTargets(targets_); }

  std::unique_ptr<host::Host> host_;
  FrameTargets targets_;
};

TEST_F(FrameTargetSlots, ASlotOfTheSameSizeIsReusedWithTheNewWrapAndAnotherSizeReplacesIt) {
  RenderTarget& slot = targets_.placed;
  ASSERT_TRUE(PrepareFrameTarget(slot, 40, 30, GL_MIRRORED_REPEAT));
  const RenderTarget first = slot;
  EXPECT_EQ(WrapOf(slot.attachment.texture), GL_MIRRORED_REPEAT);

  ASSERT_TRUE(PrepareFrameTarget(slot, 40, 30, GL_CLAMP_TO_BORDER));
  EXPECT_EQ(slot.framebuffer, first.framebuffer);
  EXPECT_EQ(slot.attachment.texture, first.attachment.texture);
  EXPECT_EQ(WrapOf(slot.attachment.texture), GL_CLAMP_TO_BORDER);

  ASSERT_TRUE(PrepareFrameTarget(slot, 41, 30, GL_CLAMP_TO_BORDER));
  EXPECT_EQ(slot.attachment.width, 41);
  EXPECT_EQ(LiveTextures().size(), 1u);  // the old one went first
  EXPECT_EQ(LiveFramebuffers(), 1);
}

TEST_F(FrameTargetSlots, ASlotThatCannotBeCreatedIsLeftEmpty) {
  ASSERT_TRUE(PrepareFrameTarget(targets_.rays, 16, 16, GL_CLAMP_TO_BORDER));
  EXPECT_FALSE(PrepareFrameTarget(targets_.rays, 16400, 2, GL_CLAMP_TO_BORDER));
  while (glGetError() != GL_NO_ERROR) {
  }
  EXPECT_EQ(targets_.rays.framebuffer, 0u);
  EXPECT_TRUE(LiveTextures().empty());
  EXPECT_EQ(LiveFramebuffers(), 0);
}

TEST_F(FrameTargetSlots, TheEndOfAFrameKeepsASetWithinTheBudgetAndDeletesALargerOne) {
  for (RenderTarget* t :
       {&targets_.preprocess, &targets_.input, &targets_.placed, &targets_.rays}) {
    ASSERT_TRUE(PrepareFrameTarget(*t, 32, 16, GL_CLAMP_TO_BORDER));
  }
  const size_t bytes = 4 * 32 * 16 * 16;
  EXPECT_EQ(FrameTargetBytes(targets_), bytes);
  EndFrameTargets(targets_, bytes);
  EXPECT_EQ(LiveTextures().size(), 4u);
  EndFrameTargets(targets_, bytes - 1);
  EXPECT_EQ(FrameTargetBytes(targets_), 0u);
  EXPECT_TRUE(LiveTextures().empty());
  EXPECT_EQ(LiveFramebuffers(), 0);
}

// One frame of a sequence: the layer's size and the controls.
struct Step {
  int width, height, depth;
  Controls controls;
};

host::World RenderStep(const Step& s, const std::unique_ptr<host::Host>& reuse) {
  auto host = reuse ? nullptr : MakeEffectHost(s.width, s.height, /*linked=*/true);
  host::Host& h = reuse ? *reuse : *host;
  ApplyControls(h, s.controls);
  host::FrameResult r =
      host::RenderFrameThroughModule(h, Pattern(s.width, s.height, s.depth), {.depth = s.depth});
  EXPECT_EQ(r.err, PF_Err_NONE);
  return std::move(r.output);
}

// The same frame on a thread of its own, which starts with no kept targets.
host::World RenderOnNewThread(const Step& s) {
  host::World out;
  std::thread([&] { out = RenderStep(s, nullptr); }).join();
  return out;
}

std::vector<Step> Sequence() {
  Controls spin;
  spin.mode = 1;
  spin.spinAmount = 40;
  Controls expanded;  // a larger output, no edge repeat, the input off the origin
  expanded.bufferExpansion = 6;
  expanded.repeatEdges = false;
  expanded.direction = 2;
  Controls processed;
  processed.view = 1;
  processed.threshold = 30;
  Controls solo;
  solo.view = 2;
  solo.aberrationAmount = 50;
  // The 43x31 layer fills the 43x31 output that the expanded 31x19 layer only partly
  // covers: what it leaves in the kept placement target must not show in the next frame.
  return {{31, 19, 32, spin},      {31, 19, 32, expanded}, {31, 19, 8, Controls{}},
          {31, 19, 32, processed}, {12, 27, 32, solo},     {43, 31, 32, Controls{}},
          {31, 19, 32, expanded},  {43, 31, 8, processed}, {31, 19, 8, expanded},
          {31, 19, 32, spin}};
}

TEST(FrameTargets, EveryFrameOfASequenceOnOneThreadEqualsTheFrameOfANewThread) {
  for (const Step& s : Sequence()) {
    auto host = MakeEffectHost(s.width, s.height, /*linked=*/true);
    ASSERT_NE(host, nullptr);
    const host::World kept = RenderStep(s, host);
    const host::World fresh = RenderOnNewThread(s);
    EXPECT_TRUE(host::SameBytes(kept, fresh))
        << s.width << "x" << s.height << ", " << s.depth << "-bit, mode " << s.controls.mode
        << ", view " << s.controls.view << ", expansion " << s.controls.bufferExpansion;
  }
}

TEST(FrameTargets, LaterFramesOfOneSizeKeepOneSetAndLargeOrFailedFramesKeepNone) {
  constexpr int kWidth = 20, kHeight = 12;
  auto host = MakeEffectHost(kWidth, kHeight, /*linked=*/true);
  ASSERT_NE(host, nullptr);
  const host::World input = Pattern(kWidth, kHeight, 32);
  const host::World first = host::RenderFrameThroughModule(*host, input, {.depth = 32}).output;
  const std::vector<GLuint> set = LiveTextures();
  EXPECT_EQ(set.size(), 4u);
  for (int frame = 0; frame < 5; ++frame) {
    ASSERT_EQ(host::RenderFrameThroughModule(*host, input, {.depth = 32}).err, PF_Err_NONE);
  }
  EXPECT_EQ(LiveTextures(), set);
  EXPECT_EQ(LiveFramebuffers(), 4);

  // Three float targets of 2400x2400 (the view draws no rays) are over the budget.
  Controls processed;
  processed.view = 1;
  const Step large{2400, 2400, 8, processed};
  auto largeHost = MakeEffectHost(large.width, large.height, /*linked=*/true);
  RenderStep(large, largeHost);
  EXPECT_TRUE(LiveTextures().empty());
  ASSERT_EQ(host::RenderFrameThroughModule(*host, input, {.depth = 32}).err, PF_Err_NONE);
  EXPECT_EQ(LiveTextures().size(), 4u);

  host->Layer().width = 16400;  // beyond the texture limit
  host->Layer().height = 2;
  const host::FrameResult refused =
      host::RenderFrameThroughModule(*host, host::World(16400, 2, 32), {.depth = 32});
  EXPECT_EQ(refused.err, PF_Err_OUT_OF_MEMORY);
  EXPECT_TRUE(LiveTextures().empty());
  EXPECT_EQ(LiveFramebuffers(), 0);

  host->Layer().width = kWidth;
  host->Layer().height = kHeight;
  const host::FrameResult again = host::RenderFrameThroughModule(*host, input, {.depth = 32});
  ASSERT_EQ(again.err, PF_Err_NONE);
  EXPECT_TRUE(host::SameBytes(again.output, first));
}

}  // namespace
}  // namespace solvane::frametest
