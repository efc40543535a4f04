// The plug-in where hosts and scripts go beyond what it declared: every parameter at
// values no slider gives (NaN, infinities, huge, negative, choices past their options)
// renders a defined frame or fails cleanly, and the host's GL context on the render
// thread is current again when the render returns. Runs under the sanitizer build too.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <sstream>
#include <thread>

#include "EglContextCount.h"
#include "OffscreenContext.h"
#include "OfxTestSupport.h"

namespace solvane::ofx_host::test {
namespace {

class RobustnessTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    RequireGl();
  }

  // A small source, so that each of the many frames is quick.
  std::unique_ptr<Instance> SmallInstance(Depth depth) {
    auto source = std::make_shared<HostImage>(ImageLayout{{0, 0, 24, 16}, depth});
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 24; ++x) {
        source->Set(x, y, {x / 24.0f, y / 16.0f, 0.9f, x < 20 ? 1.0f : 0.5f});
      }
    }
    InstanceSetup setup;
    setup.projectWidth = 24, setup.projectHeight = 16;
    setup.depth = depth;
    OfxStatus status = kOfxStatFailed;
    std::unique_ptr<Instance> instance = host_->CreateInstance(setup, &status);
    EXPECT_EQ(status, kOfxStatOK);
    if (instance) instance->SetSource(source);
    return instance;
  }

  // A frame either renders with every output value a number, or fails with a status a
  // render may answer.
  void ExpectDefinedFrame(Instance& instance, const std::string& what) {
    const FrameResult frame = instance.RenderFrame({});
    for (const std::string& misuse : Ledger::Get().Misuses())
      ADD_FAILURE() << what << ": " << misuse;
    Ledger::Get().ClearMisuses();
    if (frame.status != kOfxStatOK) {
      EXPECT_TRUE(frame.status == kOfxStatFailed || frame.status == kOfxStatErrValue)
          << what << ": " << frame.failedAction << " answered " << StatusName(frame.status);
      return;
    }
    // Buffer Expansion declares 0 to 1000 pixels: the region never shrinks below the
    // source nor grows beyond that.
    const OfxRectD& rod = frame.regionOfDefinition;
    EXPECT_TRUE(rod.x1 <= 0 && rod.y1 <= 0 && rod.x2 >= 24 && rod.y2 >= 16 && rod.x1 >= -1000 &&
                rod.y1 >= -1000 && rod.x2 <= 1024 && rod.y2 <= 1016)
        << what << ": region of definition (" << rod.x1 << ", " << rod.y1 << ", " << rod.x2 << ", "
        << rod.y2 << ")";
    const OfxRectI& b = frame.output->Bounds();
    for (int y = b.y1; y < b.y2; ++y) {
      for (int x = b.x1; x < b.x2; ++x) {
        for (float v : frame.output->Get(x, y)) {
          if (std::isfinite(v)) continue;
          ADD_FAILURE() << what << ": pixel (" << x << ", " << y << ") holds " << v;
          return;
        }
      }
    }
  }
};

std::string Text(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

std::vector<double> OddNumbers(const Param& param) {
  std::vector<double> odd = {NAN, INFINITY, -INFINITY, 1e300, -1e300, -1.0, DBL_MAX, -DBL_MAX};
  if (param.Info().kind == ValueKind::kInt) {
    odd = {-1.0, double(INT_MAX), double(INT_MIN), 1e6};
  }
  return odd;
}

TEST_F(RobustnessTest, EveryParameterAtOddValuesRendersADefinedFrameOrFailsCleanly) {
  std::unique_ptr<Instance> instance = SmallInstance(Depth::kByte);
  ASSERT_NE(instance, nullptr);
  for (const auto& param : instance->Params().Params()) {
    const int dimension = param->Info().dimension;
    if (dimension == 0 || param->Info().kind == ValueKind::kString) continue;
    const std::vector<double> defaults = param->Numbers();
    for (double odd : OddNumbers(*param)) {
      const std::string what = param->Name() + " = " + Text(odd);
      const OfxStatus status =
          instance->SetParam(param->Name(), std::vector<double>(size_t(dimension), odd));
      EXPECT_TRUE(status == kOfxStatOK || status == kOfxStatFailed) << what;
      ExpectDefinedFrame(*instance, what);
    }
    ASSERT_EQ(instance->SetParam(param->Name(), defaults), kOfxStatOK);
  }
}

// Everything odd at once, in float, where a NaN would travel furthest.
TEST_F(RobustnessTest, AllParametersOddAtOnceInFloat) {
  for (const double odd : {double(NAN), double(INFINITY), -1e300}) {
    std::unique_ptr<Instance> instance = SmallInstance(Depth::kFloat);
    ASSERT_NE(instance, nullptr);
    for (const auto& param : instance->Params().Params()) {
      const int dimension = param->Info().dimension;
      if (dimension == 0 || param->Info().kind == ValueKind::kString) continue;
      const double value = param->Info().kind == ValueKind::kInt ? double(INT_MIN) : odd;
      instance->SetParam(param->Name(), std::vector<double>(size_t(dimension), value));
    }
    ExpectDefinedFrame(*instance, "every parameter " + Text(odd));
  }
}

// A host that draws with GL itself has its context current on the thread it calls render
// from; the plug-in works in its own and puts the host's back.
TEST_F(RobustnessTest, TheHostsGlContextIsCurrentAgainAfterRender) {
  std::unique_ptr<Instance> instance = SmallInstance(Depth::kFloat);
  ASSERT_NE(instance, nullptr);
  OffscreenContext* hostContext = CreateOffscreenContext(nullptr);
  ASSERT_TRUE(IsContextValid(hostContext));
  MakeContextCurrent(hostContext);
  const FrameResult frame = Render(*instance);
  OffscreenContext* current = CaptureCurrentContext();
  EXPECT_EQ(current->renderingContext, hostContext->renderingContext);
  FreeOffscreenContext(current);
  MakeContextCurrent(nullptr);
  DestroyOffscreenContext(hostContext);
  FreeOffscreenContext(hostContext);
  // And a thread with no context has none after.
  Render(*instance);
  current = CaptureCurrentContext();
  EXPECT_EQ(current->renderingContext, nullptr);
  FreeOffscreenContext(current);
}

// Each render thread's GL context (and with it every GL object made in it) goes when the
// thread ends; destroying instances leaves none behind either.
TEST_F(RobustnessTest, RenderThreadsLeaveNoGlContextBehind) {
  std::unique_ptr<Instance> instance = SmallInstance(Depth::kFloat);
  ASSERT_NE(instance, nullptr);
  Render(*instance);  // this thread's context, and whatever the plug-in keeps for all
  const int baseline = LiveEglContexts();
  for (int i = 0; i < 3; ++i) {
    int during = 0;
    std::thread([&] {
      EXPECT_EQ(instance->RenderFrame({}).status, kOfxStatOK);
      during = LiveEglContexts();
    }).join();
    EXPECT_GT(during, baseline) << "the render thread made no context of its own";
    EXPECT_EQ(LiveEglContexts(), baseline) << "after render thread " << i << " ended";
  }
  std::vector<std::unique_ptr<Instance>> more;
  for (int i = 0; i < 3; ++i) more.push_back(SmallInstance(Depth::kFloat));
  for (auto& other : more) Render(*other);
  more.clear();
  instance.reset();
  EXPECT_EQ(LiveEglContexts(), baseline);
}

}  // namespace
}  // namespace solvane::ofx_host::test
