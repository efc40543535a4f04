// Frames through the host with a small effect linked into the test: the output world
// sized from pre-render's rectangle, the smart-render callbacks, errors at each stage, and
// the render pool's concurrency and thread shutdown (which runs per-thread clean-up).
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "RenderPoolFakeEffect.h"
#include "host/FrameRender.h"
#include "host/Host.h"
#include "host/HostError.h"
#include "host/RenderPool.h"
#include "host/World.h"

namespace solvane::host {
namespace {

class Frames : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Settings() = fake::Behaviour{};
    input_.SetPixel8(0, 0, {255, 10, 20, 30});
    input_.SetPixel8(2, 1, {128, 40, 50, 60});
    host_.Layer().width = input_.Width();
    host_.Layer().height = input_.Height();
  }

  Host host_{SOLVANE_MODULE_PATH, fake::EntryPoint};
  World input_{3, 2, 8, 4};
};

TEST_F(Frames, OutputIsSizedFromThePreRenderRectangleWithOriginZero) {
  const FrameResult frame = RenderFrameThroughModule(host_, input_);
  ASSERT_EQ(frame.err, PF_Err_NONE);
  ASSERT_TRUE(frame.rendered);
  EXPECT_EQ(frame.output.Width(), 5);
  EXPECT_EQ(frame.output.Height(), 4);
  const PF_EffectWorld& out = *frame.output.Get();
  EXPECT_EQ(out.origin_x, 0);
  EXPECT_EQ(out.origin_y, 0);
  EXPECT_EQ(out.extent_hint.right, 5);
  EXPECT_EQ(out.extent_hint.bottom, 4);
  EXPECT_EQ(frame.output.Pixel8(1, 1).red, 10);  // input (0, 0) where the effect put it
  EXPECT_EQ(frame.output.Pixel8(3, 2).green, 50);
  const PF_LRect& asked = frame.preRenderInput.output_request.rect;
  EXPECT_EQ(asked.right, 3);
  EXPECT_EQ(asked.bottom, 2);
  EXPECT_EQ(frame.preRenderOutput.result_rect.left, -1);
}

TEST_F(Frames, TimeAndRequestReachTheEffectAndOutputRowsArePadded) {
  FrameRequest request;
  request.time = 7;
  request.request = PF_LRect{1, 0, 2, 1};
  request.outputRowPadding = 12;
  bool prepared = false;
  request.prepareOutput = [&](World& out) {
    prepared = true;
    EXPECT_EQ(out.RowBytes(), 5 * 4 + 12);
  };
  const FrameResult frame = RenderFrameThroughModule(host_, input_, request);
  ASSERT_EQ(frame.err, PF_Err_NONE);
  EXPECT_TRUE(prepared);
  EXPECT_EQ(frame.output.Pixel8(0, 0).blue, 7);
  EXPECT_EQ(frame.preRenderInput.output_request.rect.left, 1);
  EXPECT_TRUE(frame.output.PaddingIntact());
}

TEST_F(Frames, ErrorsStopTheFrameWhereTheyHappen) {
  host_.Faults().Fail("checkout_layer", 1, PF_Err_OUT_OF_MEMORY);
  FrameResult frame = RenderFrameThroughModule(host_, input_);
  EXPECT_EQ(frame.err, PF_Err_OUT_OF_MEMORY);
  EXPECT_FALSE(frame.rendered);
  host_.Faults().Fail("checkout_output", 1, PF_Err_INTERNAL_STRUCT_DAMAGED);
  EXPECT_EQ(RenderFrameThroughModule(host_, input_).err, PF_Err_INTERNAL_STRUCT_DAMAGED);
  host_.Faults().Fail("abort", 1, PF_Interrupt_CANCEL);
  frame = RenderFrameThroughModule(host_, input_);
  EXPECT_EQ(frame.err, PF_Interrupt_CANCEL);
  EXPECT_EQ(frame.output.Pixel8(1, 1).red, 10);  // cancelled after a complete frame
  fake::Settings().checkoutId = 1;               // never requested at pre-render
  EXPECT_EQ(RenderFrameThroughModule(host_, input_).err, PF_Err_BAD_CALLBACK_PARAM);
}

TEST_F(Frames, EmptyOrOversizedResultsNeverReachTheSmartRender) {
  host_.Layer().fullyTransparent = true;
  FrameResult frame = RenderFrameThroughModule(host_, input_);
  EXPECT_EQ(frame.err, PF_Err_NONE);
  EXPECT_FALSE(frame.rendered);
  EXPECT_TRUE(frame.output.Empty());
  host_.Layer().fullyTransparent = false;
  fake::Settings().grow = 30000;
  frame = RenderFrameThroughModule(host_, input_, {.depth = 32});
  EXPECT_EQ(frame.err, PF_Err_OUT_OF_MEMORY);
  EXPECT_FALSE(frame.rendered);
  EXPECT_EQ(host_.Log().Count("checkout_output"), 0u);
}

TEST_F(Frames, TransferCallsAreRecordedWithTheirArguments) {
  fake::Settings().composite = true;
  const FrameResult frame = RenderFrameThroughModule(host_, input_);
  ASSERT_EQ(frame.err, PF_Err_NONE);
  ASSERT_EQ(frame.transfers.size(), 1u);
  const TransferCall& call = frame.transfers[0];
  EXPECT_EQ(call.mode.xfer, PF_Xfer_SCREEN);
  EXPECT_EQ(call.mode.opacity, 254);
  EXPECT_EQ(call.destX, 1);
  EXPECT_TRUE(call.sourceIsInput);
  EXPECT_TRUE(call.destinationIsOutput);
  EXPECT_EQ(call.sourceRect.right, 5);
  // Screen of the input over its own copy: 10 + 10 * 254/255 - ... rounds to 20.
  EXPECT_EQ(frame.output.Pixel8(1, 1).red, 20);
  EXPECT_TRUE(host_.Suites().Unbalanced().empty());
}

TEST_F(Frames, PoolRendersConcurrentlyAndShutdownRunsEveryThreadsCleanUp) {
  fake::Settings().renderMilliseconds = 20;
  const int releasedBefore = fake::ReleasedThreadResources();
  const FrameResult single = RenderFrameThroughModule(host_, input_);
  auto shared = std::make_shared<const World>(input_);
  RenderPool pool(host_, 4);
  std::vector<std::future<FrameResult>> frames;
  for (int i = 0; i < 8; ++i) frames.push_back(pool.Submit(shared, {}));
  for (auto& frame : frames) {
    const FrameResult result = frame.get();
    ASSERT_EQ(result.err, PF_Err_NONE);
    EXPECT_EQ(MaxChannelDifference(result.output, single.output), 0.0f);
  }
  EXPECT_EQ(pool.ThreadsStarted(), 4);
  // This thread rendered `single`; the pool's threads still hold what they made.
  const int poolThreadsThatRendered = fake::LiveThreadResources() - 1;
  EXPECT_GE(poolThreadsThatRendered, 2);
  pool.Shutdown();
  EXPECT_EQ(pool.ThreadsJoined(), 4);
  EXPECT_EQ(fake::LiveThreadResources(), 1);  // only this thread's, until it ends
  EXPECT_EQ(fake::ReleasedThreadResources() - releasedBefore, poolThreadsThatRendered);
  pool.Shutdown();
  EXPECT_THROW(pool.Submit(shared, {}), HostError);
}

}  // namespace
}  // namespace solvane::host
