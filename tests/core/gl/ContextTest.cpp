// Offscreen contexts: creation, making current, capture and restore, destruction, and
// several threads each drawing with a context of its own at the same time.
#include <gtest/gtest.h>

#include <barrier>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "GlTestSupport.h"
#include "OffscreenContext.h"
#include "Programs.h"

#if !defined(_WIN32)
#include <EGL/egl.h>
#endif

namespace solvane {
namespace {

// The calling thread's current rendering context, or null.
void* CurrentRenderingContext() {
  OffscreenContext* captured = CaptureCurrentContext();
  void* current = captured->renderingContext;
  FreeOffscreenContext(captured);
  return current;
}

struct ContextDeleter {
  void operator()(OffscreenContext* context) const {
    DestroyOffscreenContext(context);
    FreeOffscreenContext(context);
  }
};
using ContextPtr = std::unique_ptr<OffscreenContext, ContextDeleter>;

ContextPtr Create() {
  return ContextPtr(CreateOffscreenContext(nullptr));
}

TEST(OffscreenContext, CreatesACurrentCoreContextOfAtLeast32) {
  ContextPtr context = Create();
  ASSERT_TRUE(IsContextValid(context.get()));
  EXPECT_EQ(CurrentRenderingContext(), context->renderingContext);

  GLint major = 0, minor = 0, profile = 0;
  glGetIntegerv(GL_MAJOR_VERSION, &major);
  glGetIntegerv(GL_MINOR_VERSION, &minor);
  glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
  EXPECT_GE(major * 10 + minor, 32);
  EXPECT_TRUE(profile & GL_CONTEXT_CORE_PROFILE_BIT);
  EXPECT_NE(glCreateShader, nullptr) << "no OpenGL entry points were loaded";
}

TEST(OffscreenContext, ValidityNeedsARecordWithARenderingContext) {
  EXPECT_FALSE(IsContextValid(nullptr));
  OffscreenContext empty;
  EXPECT_FALSE(IsContextValid(&empty));
}

TEST(OffscreenContext, SecondContextWhileFirstLivesIsIndependent) {
  ContextPtr first = Create();
  ContextPtr second = Create();
  ASSERT_TRUE(IsContextValid(first.get()));
  ASSERT_TRUE(IsContextValid(second.get()));
  EXPECT_NE(first->renderingContext, second->renderingContext);

  // Contexts share no objects: a texture made in one is unknown in the other.
  MakeContextCurrent(first.get());
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  MakeContextCurrent(second.get());
  EXPECT_FALSE(glIsTexture(texture));
}

TEST(OffscreenContext, MakeCurrentWithNullOrEmptyCaptureReleases) {
  ContextPtr context = Create();
  ASSERT_TRUE(IsContextValid(context.get()));
  MakeContextCurrent(nullptr);
  EXPECT_EQ(CurrentRenderingContext(), nullptr);

  OffscreenContext* none = CaptureCurrentContext();  // taken with nothing current
  EXPECT_FALSE(IsContextValid(none));
  EXPECT_EQ(none->window, nullptr);
  MakeContextCurrent(context.get());
  EXPECT_EQ(CurrentRenderingContext(), context->renderingContext);
  MakeContextCurrent(none);
  EXPECT_EQ(CurrentRenderingContext(), nullptr);
  FreeOffscreenContext(none);
}

TEST(OffscreenContext, CapturedContextIsRestoredAfterAnotherBecameCurrent) {
  ContextPtr host = Create();
  ASSERT_TRUE(IsContextValid(host.get()));
  OffscreenContext* captured = CaptureCurrentContext();
  ASSERT_TRUE(IsContextValid(captured));
  EXPECT_EQ(captured->window, nullptr);

  ContextPtr own = Create();
  ASSERT_TRUE(IsContextValid(own.get()));
  EXPECT_EQ(CurrentRenderingContext(), own->renderingContext);
  MakeContextCurrent(captured);
  EXPECT_EQ(CurrentRenderingContext(), host->renderingContext);
  FreeOffscreenContext(captured);
}

TEST(OffscreenContext, DestroyClearsTheRecordAndIsHarmlessTwiceOrOnNull) {
  OffscreenContext* context = CreateOffscreenContext(nullptr);
  ASSERT_TRUE(IsContextValid(context));
  DestroyOffscreenContext(context);
  EXPECT_EQ(context->window, nullptr);
  EXPECT_EQ(context->renderingContext, nullptr);
  EXPECT_EQ(context->deviceContext, nullptr);
  EXPECT_EQ(CurrentRenderingContext(), nullptr);
  DestroyOffscreenContext(context);
  DestroyOffscreenContext(nullptr);
  FreeOffscreenContext(context);
  FreeOffscreenContext(nullptr);
}

TEST(OffscreenContext, DestroyingACapturedRecordLeavesTheCapturedContextAlive) {
  ContextPtr host = Create();
  ASSERT_TRUE(IsContextValid(host.get()));
  OffscreenContext* captured = CaptureCurrentContext();
  DestroyOffscreenContext(captured);
  FreeOffscreenContext(captured);

  MakeContextCurrent(host.get());
  EXPECT_EQ(CurrentRenderingContext(), host->renderingContext);
  EXPECT_NE(glGetString(GL_VERSION), nullptr);
}

#if !defined(_WIN32)
// glvnd's libEGL frees every thread's EGL record when it is unloaded at exit(), and a thread
// that ends then frees its own again. A thread left with nothing current must therefore have
// no record: the bound API is back at EGL's default, which only a thread without one reports.
TEST(OffscreenContext, ReleasingLeavesTheThreadWithNoEglState) {
  std::string afterRelease, afterRestore, afterDestroy;
  std::thread host([&] {
    ContextPtr context = Create();
    if (!IsContextValid(context.get())) return;
    MakeContextCurrent(nullptr);
    afterRelease = eglQueryAPI() == EGL_OPENGL_ES_API ? "" : "state kept";
    {
      ScopedContextRestore restore;
      MakeContextCurrent(context.get());
    }
    afterRestore = eglQueryAPI() == EGL_OPENGL_ES_API ? "" : "state kept";
    MakeContextCurrent(context.get());
    context.reset();
    afterDestroy = eglQueryAPI() == EGL_OPENGL_ES_API ? "" : "state kept";
  });
  host.join();
  EXPECT_EQ(afterRelease, "") << "after MakeContextCurrent(nullptr)";
  EXPECT_EQ(afterRestore, "") << "after restoring a thread that had no context";
  EXPECT_EQ(afterDestroy, "") << "after destroying the current context";
}
#endif

// One thread's life: its own context and programs, several pre-process draws of an image
// only it uses, then clean-up. Returns what went wrong, or nothing.
std::string RenderOnOwnContext(int seed, std::barrier<>& start) {
  start.arrive_and_wait();  // both threads create their contexts at the same moment
  OffscreenContext* context = CreateOffscreenContext(nullptr);
  if (!IsContextValid(context)) return "no context";
  GLuint programs[2] = {0, 0};
  BuildEffectPrograms(programs);
  reference::Image input(8, 6);
  for (size_t i = 0; i < input.pixels.size(); ++i) {
    input.pixels[i] = static_cast<float>((i * 7 + seed * 13) % 17) / 16.0f;
  }
  reference::PreprocessUniforms uniforms;
  const reference::Image expected =
      reference::RunPreprocessPass(input, reference::Wrap::kClampToBorder, 8, 6, uniforms);
  std::string failure;
  for (int round = 0; round < 20 && failure.empty(); ++round) {
    UniformTable table = {{"thresholdF", UniformValue::Float(0.0f)},
                          {"thresholdSmoothF", UniformValue::Float(0.0f)},
                          {"thresholdModeL", UniformValue::Int(1)},
                          {"presentViewL", UniformValue::Int(0)}};
    const reference::Image actual =
        testing::RunProgram(programs[0], input, GL_CLAMP_TO_BORDER, 8, 6, table);
    if (!testing::ImagesNear(actual, expected, 1e-6f)) failure = "wrong pixels";
  }
  DeleteProgram(&programs[0]);
  DeleteProgram(&programs[1]);
  DestroyOffscreenContext(context);
  FreeOffscreenContext(context);
  return failure;
}

TEST(OffscreenContext, TwoThreadsDrawWithTheirOwnContextsAtTheSameTime) {
  std::barrier start(2);
  std::string results[2];
  std::thread a([&] { results[0] = RenderOnOwnContext(1, start); });
  std::thread b([&] { results[1] = RenderOnOwnContext(2, start); });
  a.join();
  b.join();
  EXPECT_EQ(results[0], "");
  EXPECT_EQ(results[1], "");
}

}  // namespace
}  // namespace solvane
