// Instances and threads: frames drawn on several threads at once and by an instance that
// moves between threads equal one instance's frames on one thread; a long render keeps its
// GL names and contexts; a thread's context ends with the thread; the host's own current
// context survives every frame; an opaque frame stays opaque.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "GlTestSupport.h"
#include "shells/frei0r/FilterInstance.h"
#include "core/gl/OffscreenContext.h"
#include "core/render/ThreadResources.h"

namespace solvane::frei0r {
namespace {

constexpr int kW = 64;
constexpr int kH = 40;

std::vector<uint8_t> Input(int seed) {
  std::vector<uint8_t> rgba(size_t(kW) * kH * 4);
  for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = uint8_t((i * 37 + seed * 101) % 256);
  for (size_t i = 3; i < rgba.size(); i += 16) rgba[i] = 255;
  return rgba;
}

void Configure(FilterInstance& f, int variant) {
  const char* modes[] = {"zoom", "spin"};
  const char* views[] = {"final composite", "rays solo", "input (processed)"};
  const char* mode = modes[variant % 2];
  const char* view = views[variant % 3];
  f.SetParam(0, &mode);
  f.SetParam(20, &view);
  const double x = 0.2 + 0.15 * variant;
  f.SetParam(1, &x);
}

std::vector<uint8_t> Render(FilterInstance& f, int seed) {
  const std::vector<uint8_t> in = Input(seed);
  std::vector<uint8_t> out(in.size());
  f.Update(in.data(), out.data());
  return out;
}

// The frames of `variant` for seeds 0..frames-1, one instance on the calling thread.
std::vector<std::vector<uint8_t>> Sequence(int variant, int frames) {
  FilterInstance f(kW, kH);
  Configure(f, variant);
  std::vector<std::vector<uint8_t>> result;
  for (int s = 0; s < frames; ++s) result.push_back(Render(f, s));
  return result;
}

TEST(FilterThreads, InstancesOnSeveralThreadsAtOnceMatchOneThread) {
  constexpr int kVariants = 4;
  constexpr int kFramesEach = 4;
  std::vector<std::vector<std::vector<uint8_t>>> alone;
  for (int v = 0; v < kVariants; ++v) alone.push_back(Sequence(v, kFramesEach));
  std::vector<std::vector<std::vector<uint8_t>>> together(kVariants);
  std::vector<std::thread> threads;
  for (int v = 0; v < kVariants; ++v) {
    threads.emplace_back([&, v] { together[v] = Sequence(v, kFramesEach); });
  }
  for (std::thread& t : threads) t.join();
  for (int v = 0; v < kVariants; ++v) EXPECT_EQ(together[v], alone[v]) << "variant " << v;
  EXPECT_NE(alone[0][0], Input(0));  // the filter drew something
}

TEST(FilterThreads, AnInstanceMovingBetweenThreadsDrawsAsOnOne) {
  const std::vector<std::vector<uint8_t>> alone = Sequence(1, 3);
  FilterInstance f(kW, kH);
  Configure(f, 1);
  std::vector<std::vector<uint8_t>> moved(3);
  for (int s = 0; s < 3; ++s) std::thread([&, s] { moved[s] = Render(f, s); }).join();
  EXPECT_EQ(moved, alone);
}

TEST(FilterThreads, AThreadsContextEndsWithTheThread) {
  Sequence(0, 1);  // the probe and this thread's context exist from here on
  const int before = LiveOffscreenContexts();
  int during = 0;
  std::thread([&] {
    Sequence(0, 1);
    during = LiveOffscreenContexts();
  }).join();
  EXPECT_EQ(during, before + 1);
  EXPECT_EQ(LiveOffscreenContexts(), before);
}

// The kept render targets are the only GL objects that outlive a frame, and they do not
// multiply: names and contexts after many frames of changing controls equal those after
// the first.
TEST(FilterLifetime, ALongRenderKeepsItsGLNamesAndContexts) {
  std::thread([] {
    FilterInstance f(kW, kH);
    const auto count = [] {
      AcquireThreadResources(nullptr);  // the thread's own context, made current
      const size_t names = solvane::testing::LiveNames(glIsTexture, 256).size() +
                           solvane::testing::LiveNames(glIsFramebuffer, 256).size() +
                           solvane::testing::LiveNames(glIsBuffer, 256).size() +
                           solvane::testing::LiveNames(glIsVertexArray, 256).size();
      MakeContextCurrent(nullptr);
      return names;
    };
    Configure(f, 0);
    Render(f, 0);
    const size_t names = count();
    const int contexts = LiveOffscreenContexts();
    for (int s = 0; s < 30; ++s) {
      Configure(f, s % 5);
      Render(f, s);
    }
    EXPECT_EQ(count(), names);
    EXPECT_EQ(LiveOffscreenContexts(), contexts);
  }).join();
}

TEST(FilterLifetime, TheHostsCurrentContextIsCurrentAgainAfterEachFrame) {
  OffscreenContext* host = CreateOffscreenContext(nullptr);
  ASSERT_NE(host, nullptr);
  FilterInstance f(kW, kH);
  Render(f, 0);
  OffscreenContext* current = CaptureCurrentContext();
  EXPECT_EQ(current->renderingContext, host->renderingContext);
  FreeOffscreenContext(current);
  DestroyOffscreenContext(host);
  FreeOffscreenContext(host);
}

// A frame wider than the GPU's largest texture cannot be drawn: it passes through, and the
// user is told once.
TEST(FilterLifetime, AFrameBeyondTheGpusTexturesPassesThroughWithOneMessage) {
  GLint maxSize = 0;
  OffscreenContext* context = CreateOffscreenContext(nullptr);
  ASSERT_NE(context, nullptr);
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  DestroyOffscreenContext(context);
  FreeOffscreenContext(context);
  const int width = maxSize + 1;
  FilterInstance f(width, 2);
  const std::vector<uint8_t> in(size_t(width) * 2 * 4, 77);
  std::vector<uint8_t> out(in.size(), 0);
  ::testing::internal::CaptureStderr();
  f.Update(in.data(), out.data());
  f.Update(in.data(), out.data());
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(out, in);
  const std::string message = "too large for the GPU; frames pass through unchanged";
  const size_t at = err.find(message);
  EXPECT_NE(at, std::string::npos) << err;
  EXPECT_EQ(err.find(message, at + 1), std::string::npos) << err;
}

// Outside After Effects "Input Opacity" 100 % is fully opaque: an opaque frame comes back
// opaque with any mode, blend and direction; at 50 % an opaque layer over the rays still
// covers more than the rays alone.
TEST(FilterComposite, AnOpaqueFrameComesBackOpaque) {
  std::vector<uint8_t> in = Input(3);
  for (size_t i = 3; i < in.size(); i += 4) in[i] = 255;
  const char* blends[] = {"screen", "add"};
  const char* directions[] = {"out", "in", "in & out"};
  for (int variant = 0; variant < 6; ++variant) {
    FilterInstance f(kW, kH);
    Configure(f, variant * 3);  // every mode, Final Composite
    f.SetParam(18, &blends[variant % 2]);
    f.SetParam(10, &directions[variant % 3]);
    std::vector<uint8_t> out(in.size());
    f.Update(in.data(), out.data());
    int translucent = 0;
    for (size_t i = 3; i < out.size(); i += 4) translucent += out[i] != 255;
    EXPECT_EQ(translucent, 0) << "variant " << variant;
    EXPECT_NE(out, in) << "variant " << variant;
  }
}

}  // namespace
}  // namespace solvane::frei0r
