// Frames on several host render threads, and what frames and load cycles leave behind:
// one context per render thread, released when the thread ends, and nothing but the
// thread's kept render targets and no host memory left over after many frames. These
// drive the effect linked into this binary so the toolkit's own count of live contexts
// can be read.
#include <gtest/gtest.h>

#include "FrameTestSupport.h"
#include "GlTestSupport.h"
#include "core/gl/GLApi.h"
#include "core/gl/OffscreenContext.h"
#include "host/RenderPool.h"
#include "shells/ae/Dispatch.h"

namespace solvane::frametest {
namespace {

constexpr int kWidth = 24, kHeight = 16;

host::FrameRequest FloatFrameAt(A_long time) {
  host::FrameRequest request;
  request.depth = 32;
  request.time = time;
  return request;
}

// "Position" moves over the frames so every frame differs.
std::unique_ptr<host::Host> MovingHost() {
  auto host = MakeEffectHost(kWidth, kHeight, /*linked=*/true);
  if (host == nullptr) return nullptr;
  ApplyControls(*host, Controls{});
  host->Params().SetKeyframe(kParamPosition, 0.0, {2, 2});
  host->Params().SetKeyframe(kParamPosition, 7.0 / 25.0, {22, 14});
  return host;
}

TEST(SmartRenderThreads, FourThreadsGiveTheSamePixelsAsOneAndOneContextEach) {
  auto host = MovingHost();
  ASSERT_NE(host, nullptr);
  auto input = std::make_shared<const host::World>(Pattern(kWidth, kHeight, 32));
  std::vector<host::World> single;
  for (A_long frame = 0; frame < 8; ++frame) {
    host::FrameResult r = host::RenderFrameThroughModule(*host, *input, FloatFrameAt(frame));
    ASSERT_EQ(r.err, PF_Err_NONE);
    single.push_back(std::move(r.output));
  }
  const int before = LiveOffscreenContexts();
  {
    host::RenderPool pool(*host, 4);
    std::vector<std::future<host::FrameResult>> frames;
    for (A_long frame = 0; frame < 8; ++frame)
      frames.push_back(pool.Submit(input, FloatFrameAt(frame)));
    for (A_long frame = 0; frame < 8; ++frame) {
      const host::FrameResult r = frames[frame].get();
      ASSERT_EQ(r.err, PF_Err_NONE);
      EXPECT_EQ(host::MaxChannelDifference(r.output, single[frame]), 0.0f) << "frame " << frame;
    }
    const int made = LiveOffscreenContexts() - before;
    EXPECT_GE(made, 1);
    EXPECT_LE(made, 4);  // a thread's later frames create nothing
    for (A_long frame = 0; frame < 8; ++frame) pool.Submit(input, FloatFrameAt(frame)).get();
    EXPECT_LE(LiveOffscreenContexts() - before, 4);
    pool.Shutdown();
    EXPECT_EQ(pool.ThreadsJoined(), 4);
  }
  EXPECT_EQ(LiveOffscreenContexts(), before);  // thread exit released every context
}

int LiveNameCount(GLboolean (*isName)(GLuint)) {
  return int(solvane::testing::LiveNames(isName, 4096).size());
}

bool AnyLiveName(GLboolean (*isName)(GLuint)) {
  return LiveNameCount(isName) > 0;
}

GLboolean IsTexture(GLuint n) {
  return glIsTexture(n);
}
GLboolean IsFramebuffer(GLuint n) {
  return glIsFramebuffer(n);
}
GLboolean IsBuffer(GLuint n) {
  return glIsBuffer(n);
}
GLboolean IsVertexArray(GLuint n) {
  return glIsVertexArray(n);
}

TEST(SmartRenderThreads, TwoHundredFramesLeaveOnlyTheKeptTargetsAndNoHostMemory) {
  auto host = MovingHost();
  ASSERT_NE(host, nullptr);
  const host::World input = Pattern(kWidth, kHeight, 8);
  host::FrameRequest request;
  ASSERT_EQ(host::RenderFrameThroughModule(*host, input, request).err, PF_Err_NONE);
  const size_t handles = host->Handles().Live();
  for (int frame = 0; frame < 200; ++frame) {
    request.time = frame % 8;
    ASSERT_EQ(host::RenderFrameThroughModule(*host, input, request).err, PF_Err_NONE);
  }
  // The render thread's context stays current after its frames; its programs and the one
  // set of four render targets it keeps for its next frame remain.
  EXPECT_EQ(LiveNameCount(IsTexture), 4);
  EXPECT_EQ(LiveNameCount(IsFramebuffer), 4);
  EXPECT_FALSE(AnyLiveName(IsBuffer));
  EXPECT_FALSE(AnyLiveName(IsVertexArray));
  EXPECT_EQ(host->Handles().Live(), handles);
  EXPECT_EQ(host->Checkouts().Outstanding(), 0);
  EXPECT_TRUE(host->Suites().Unbalanced().empty());
}

TEST(SmartRenderThreads, GlobalSetupAndSetdownCyclesLeaveNothing) {
  host::Host host(SOLVANE_MODULE_PATH, &solvane::Dispatch);
  const int before = LiveOffscreenContexts();
  for (int cycle = 0; cycle < 20; ++cycle) {
    ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
    EXPECT_EQ(LiveOffscreenContexts(), before + 1);
    ASSERT_EQ(host.GlobalSetdown(), PF_Err_NONE);
    EXPECT_EQ(LiveOffscreenContexts(), before);
    EXPECT_EQ(host.Handles().Live(), 0u);
  }
  EXPECT_TRUE(host.Suites().Unbalanced().empty());
}

}  // namespace
}  // namespace solvane::frametest
