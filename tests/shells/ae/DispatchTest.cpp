// The entry point through the stand-in host with the real module: the command table,
// global flags, About, exception mapping and suite balance per command.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#include "host/Host.h"
#include "shells/ae/ExceptionMapping.h"

namespace solvane {
namespace {

using host::Host;

PF_OutData Poisoned() {
  PF_OutData out;
  std::memset(&out, 0xA5, sizeof out);
  return out;
}

TEST(Dispatch, UnknownAndNegativeCommandsReturnZeroAndTouchNothing) {
  Host host(SOLVANE_MODULE_PATH);
  for (PF_Cmd cmd : {2, 5, 6, 7, 8, 9, 10, 11, 12, 15, 16, 17, 18, 19, 20, 21, 22, 25, 26, 100,
                     0x7fffffff, -1, -24, int(0x80000000)}) {
    PF_OutData out = Poisoned();
    const PF_OutData before = out;
    host.Log().Clear();
    EXPECT_EQ(host.Send(cmd, &out), PF_Err_NONE) << "command " << cmd;
    EXPECT_TRUE(host.Log().Calls().empty()) << "command " << cmd;
    EXPECT_EQ(std::memcmp(&out, &before, sizeof out), 0) << "command " << cmd;
  }
}

TEST(Dispatch, GlobalSetupReportsVersionAndFlagsForAfterEffects) {
  Host host(SOLVANE_MODULE_PATH);
  PF_OutData out{};
  ASSERT_EQ(host.GlobalSetup(&out), PF_Err_NONE);
  EXPECT_EQ(out.my_version, 0x00080001u);
  EXPECT_EQ(out.out_flags, 0x04000000);
  EXPECT_EQ(out.out_flags2, 0x08001408);
}

TEST(Dispatch, PremiereIsToldTheEffectIsObsoleteInsteadOfUpdatingUi) {
  Host host(SOLVANE_MODULE_PATH);
  host.SetApplicationId(host::kPremiereId);
  PF_OutData out{};
  ASSERT_EQ(host.GlobalSetup(&out), PF_Err_NONE);
  EXPECT_EQ(out.out_flags, 0x00200000);
  EXPECT_EQ(out.out_flags2, 0x08001408);
  EXPECT_EQ(out.my_version, 0x00080001u);
}

TEST(Dispatch, FlagsStandEvenWhenGlobalSetupLosesItsHandleSuite) {
  Host host(SOLVANE_MODULE_PATH);
  host.Suites().Withhold("PF Handle Suite", 2);
  PF_OutData out{};
  EXPECT_EQ(host.GlobalSetup(&out), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(out.my_version, 0x00080001u);
  EXPECT_EQ(out.out_flags, 0x04000000);
  EXPECT_TRUE(host.Suites().Unbalanced().empty());
}

TEST(Dispatch, GlobalSetupAcquiresTheHandleSuiteOnceAndReleasesIt) {
  Host host(SOLVANE_MODULE_PATH);
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  EXPECT_EQ(host.Suites().AcquireCount("PF Handle Suite", 2), 1);
  EXPECT_TRUE(host.Suites().Unbalanced().empty());
  ASSERT_EQ(host.GlobalSetdown(), PF_Err_NONE);
  EXPECT_EQ(host.Handles().Live(), 0u);
  EXPECT_TRUE(host.Suites().Unbalanced().empty());
}

TEST(Dispatch, AboutWritesTheExactMessage) {
  Host host(SOLVANE_MODULE_PATH);
  std::string message;
  ASSERT_EQ(host.About(&message), PF_Err_NONE);
  EXPECT_EQ(message,
            "Brindel's Solvane v1.0\rSimulates volumetric lighting and radial blurs (zoom & "
            "spin).\n\nMade by Brindel's Solvane engineering, for motion designers.");
  EXPECT_LT(message.size(), 256u);
  EXPECT_EQ(host.Suites().AcquireCount("PF ANSI Suite", 1), 1);
  EXPECT_TRUE(host.Suites().Unbalanced().empty());
}

TEST(Dispatch, MissingSuiteReturns516WithoutAMessage) {
  Host host(SOLVANE_MODULE_PATH);
  host.Suites().Withhold("PF ANSI Suite", 1);
  PF_OutData out{};
  EXPECT_EQ(host.Send(PF_Cmd_ABOUT, &out), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_STREQ(out.return_msg, "");
  EXPECT_EQ(out.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE, 0);
}

TEST(ExceptionMapping, IntegerCodesPassThroughAndAnythingElseIs512) {
  EXPECT_EQ(RunGuarded([]() -> PF_Err { throw A_long{516}; }), 516);
  EXPECT_EQ(RunGuarded([]() -> PF_Err { throw A_long{13}; }), 13);
  EXPECT_EQ(RunGuarded([]() -> PF_Err { throw std::bad_alloc(); }), 512);
  EXPECT_EQ(RunGuarded([]() -> PF_Err { throw std::runtime_error("x"); }), 512);
  EXPECT_EQ(RunGuarded([]() -> PF_Err { throw 2.5; }), 512);
  EXPECT_EQ(RunGuarded([]() -> PF_Err { return 7; }), 7);
}

}  // namespace
}  // namespace solvane
