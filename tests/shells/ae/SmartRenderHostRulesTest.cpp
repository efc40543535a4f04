// How a frame treats the host: missing suites and GL, cancellation, failing host calls
// (each one in turn), and buffers GL could not move safely — always the first error, and
// every suite, parameter and handle handed back.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>

#include "FrameTestSupport.h"

namespace solvane::frametest {
namespace {

constexpr int kWidth = 16, kHeight = 10;
constexpr PF_PixelFloat kSentinel{0.25f, 0.5f, 0.75f, 1.0f};

class SmartRenderHostRules : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = MakeEffectHost(kWidth, kHeight);
    ASSERT_NE(host_, nullptr);
    Controls c;
    c.samples = 4;
    ApplyControls(*host_, c);
  }

  host::FrameResult Render(int depth = 32, std::function<void(host::World&)> prepare = {}) {
    host::FrameRequest request;
    request.depth = depth;
    request.prepareOutput = [prepare](host::World& out) {
      out.Fill(kSentinel);
      if (prepare) prepare(out);
    };
    return host::RenderFrameThroughModule(*host_, input_, request);
  }

  static bool Untouched(const host::World& output) {
    for (int y = 0; y < output.Height(); ++y) {
      for (int x = 0; x < output.Width(); ++x) {
        const PF_PixelFloat v = output.Value(x, y);
        if (v.alpha != kSentinel.alpha || v.red != kSentinel.red || v.blue != kSentinel.blue) {
          return false;
        }
      }
    }
    return true;
  }

  void ExpectBalanced(const std::string& context) {
    EXPECT_TRUE(host_->Suites().Unbalanced().empty()) << context;
    EXPECT_EQ(host_->Checkouts().Outstanding(), 0) << context;
  }

  std::unique_ptr<host::Host> host_;
  host::World input_ = Pattern(kWidth, kHeight, 32);
};

TEST_F(SmartRenderHostRules, NoContextAtGlobalSetupFailsEveryFrameWith512) {
  auto host = std::make_unique<host::Host>(SOLVANE_MODULE_PATH);
  host->Layer().width = kWidth;
  host->Layer().height = kHeight;
  ASSERT_EQ(host->ParamsSetup(), PF_Err_NONE);
  PF_Handle noGl = host->Handles().New(16);  // a global record with no context
  host->UseGlobalData(noGl);
  host_ = std::move(host);
  // On a thread that never rendered: a thread that did keeps its own context, which an
  // earlier test of this binary may have given the test's main thread.
  std::thread([&] {
    for (int frame = 0; frame < 2; ++frame) {
      const host::FrameResult result = Render();
      EXPECT_EQ(result.err, PF_Err_INTERNAL_STRUCT_DAMAGED);
      EXPECT_TRUE(Untouched(result.output));
    }
  }).join();
  host_->Handles().Dispose(noGl);
}

TEST_F(SmartRenderHostRules, MissingWorldSuiteShowsTheMessageAndReturns13) {
  host_->Suites().Withhold("PF World Suite", 2);
  const host::FrameResult result = Render();
  EXPECT_EQ(result.err, A_Err_MISSING_SUITE);
  EXPECT_NE(result.renderOutData.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE, 0);
  EXPECT_STREQ(result.renderOutData.return_msg, "Not able to acquire AEFX Suite.");
  EXPECT_TRUE(Untouched(result.output));
  ExpectBalanced("world suite withheld");
}

TEST_F(SmartRenderHostRules, CancelIsReportedAfterACompleteFrame) {
  const host::FrameResult normal = Render();
  ASSERT_EQ(normal.err, PF_Err_NONE);
  host_->Faults().Fail("abort", 0, PF_Interrupt_CANCEL);
  const host::FrameResult cancelled = Render();
  EXPECT_EQ(cancelled.err, PF_Interrupt_CANCEL);
  EXPECT_EQ(host::MaxChannelDifference(cancelled.output, normal.output), 0.0f);
}

TEST_F(SmartRenderHostRules, FailingCompositeIsTheResultAndAbortIsNotAsked) {
  host_->Faults().Fail("transfer_rect", 1, PF_Err_OUT_OF_MEMORY);
  host_->Log().Clear();
  const host::FrameResult result = Render();
  EXPECT_EQ(result.err, PF_Err_OUT_OF_MEMORY);
  EXPECT_EQ(host_->Log().Count("abort"), 0u);
  ExpectBalanced("transfer_rect failing");
}

TEST_F(SmartRenderHostRules, BuffersGlCannotMoveSafelyAreRefusedBeforeAnyGlWork) {
  const std::function<void(host::World&)> damages[] = {
      [](host::World& w) { w.Get()->rowbytes = w.Width() * 16 - 16; },  // rows overlap
      [](host::World& w) { w.Get()->rowbytes += 4; },                   // not whole pixels
      [](host::World& w) { w.Get()->data = nullptr; },
  };
  for (const auto& damage : damages) {
    const host::FrameResult result = Render(32, damage);
    EXPECT_EQ(result.err, PF_Err_BAD_CALLBACK_PARAM);
    ExpectBalanced("damaged output");
  }
  const host::FrameResult sixteen = Render(16);
  EXPECT_EQ(sixteen.err, PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_TRUE(Untouched(sixteen.output));
}

TEST_F(SmartRenderHostRules, TargetBeyondTheTextureLimitIsOutOfMemoryWithOutputUntouched) {
  host_->Layer().width = 16400;  // wider than llvmpipe's and most GPUs' 16384 limit
  host_->Layer().height = 2;
  input_ = host::World(16400, 2, 32);
  const host::FrameResult result = Render();
  EXPECT_EQ(result.err, PF_Err_OUT_OF_MEMORY);
  EXPECT_TRUE(Untouched(result.output));
  ExpectBalanced("oversized target");
}

// Every host call of a frame, made to fail in turn: the frame returns that call's error
// (a missing suite becomes 516, or 13 for the world suite) and hands everything back.
TEST_F(SmartRenderHostRules, EachHostCallOfAFrameFailingInTurn) {
  host_->Log().Clear();
  ASSERT_EQ(Render().err, PF_Err_NONE);
  std::map<std::string, int> occurrences;
  std::vector<std::pair<std::string, int>> calls;
  for (const std::string& call : host_->Log().Calls()) {
    if (call.rfind("ReleaseSuite", 0) == 0 || call == "sprintf" || call == "strcpy") continue;
    calls.push_back({call, ++occurrences[call]});
  }
  ASSERT_GT(calls.size(), 40u);  // 40 checkouts and check-ins at least
  constexpr PF_Err kInjected = 0x1234;
  for (const auto& [call, occurrence] : calls) {
    host_->Faults().Clear();
    host_->Faults().Fail(call, occurrence, kInjected);
    const int outstanding = host_->Checkouts().Outstanding();
    const host::FrameResult result = Render();
    PF_Err expected = kInjected;
    if (call == "AcquireSuite PF World Suite")
      expected = A_Err_MISSING_SUITE;
    else if (call.rfind("AcquireSuite", 0) == 0)
      expected = PF_Err_BAD_CALLBACK_PARAM;
    EXPECT_EQ(result.err, expected) << call << " #" << occurrence;
    EXPECT_TRUE(host_->Suites().Unbalanced().empty()) << call;
    // A check-in the host refuses leaves that one parameter out; every other is back.
    EXPECT_EQ(host_->Checkouts().Outstanding() - outstanding, call == "checkin_param" ? 1 : 0)
        << call << " #" << occurrence;
  }
}

}  // namespace
}  // namespace solvane::frametest
