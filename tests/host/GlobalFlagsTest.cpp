// The host holds global set-up's flags to the registration resource, as After Effects
// does. The resource is the real module's (out_flags 0x04000000, out_flags2 0x08001408);
// the entry points are fakes that report what each case needs.
#include <gtest/gtest.h>

#include <string>

#include "AE_Effect.h"
#include "host/Host.h"
#include "host/HostError.h"

namespace solvane::host {
namespace {

constexpr PF_OutFlags kRegisteredFlags = 0x04000000;
constexpr PF_OutFlags2 kRegisteredFlags2 = 0x08001408;

PF_OutFlags reportedFlags = kRegisteredFlags;
PF_OutFlags2 reportedFlags2 = kRegisteredFlags2;
PF_Err setupResult = PF_Err_NONE;
int setdowns = 0;

PF_Err FakeEntry(PF_Cmd cmd, PF_InData*, PF_OutData* out_data, PF_ParamDef**, PF_LayerDef*, void*) {
  if (cmd == PF_Cmd_GLOBAL_SETDOWN) ++setdowns;
  if (cmd != PF_Cmd_GLOBAL_SETUP) return PF_Err_NONE;
  out_data->out_flags = reportedFlags;
  out_data->out_flags2 = reportedFlags2;
  return setupResult;
}

class GlobalFlags : public testing::Test {
 protected:
  void SetUp() override {
    reportedFlags = kRegisteredFlags;
    reportedFlags2 = kRegisteredFlags2;
    setupResult = PF_Err_NONE;
    setdowns = 0;
  }
  // The message of the HostError that global set-up throws, or "" if it throws none.
  static std::string SetupRefusal(A_long applicationId = kAfterEffectsId) {
    Host host(SOLVANE_MODULE_PATH, FakeEntry);
    host.SetApplicationId(applicationId);
    try {
      host.GlobalSetup();
    } catch (const HostError& e) {
      return e.what();
    }
    return "";
  }
};

TEST_F(GlobalFlags, FlagsThatMatchTheResourceAreAccepted) {
  EXPECT_EQ(SetupRefusal(), "");
}

TEST_F(GlobalFlags, OutFlags2ThatDifferAreRefusedNamingBothValues) {
  reportedFlags2 = kRegisteredFlags2 & ~PF_OutFlag2_SUPPORTS_THREADED_RENDERING;
  const std::string message = SetupRefusal();
  EXPECT_NE(message.find("out_flags2 0x00001408"), std::string::npos) << message;
  EXPECT_NE(message.find("'eGL2' says 0x08001408"), std::string::npos) << message;
  // The module was set up, so it is still set down when the host goes.
  EXPECT_EQ(setdowns, 1);
}

TEST_F(GlobalFlags, OutFlagsThatDifferAreRefused) {
  reportedFlags = kRegisteredFlags | PF_OutFlag_I_AM_OBSOLETE;
  const std::string message = SetupRefusal();
  EXPECT_NE(message.find("out_flags 0x04200000"), std::string::npos) << message;
  EXPECT_NE(message.find("'eGLO' says 0x04000000"), std::string::npos) << message;
}

TEST_F(GlobalFlags, PremiereProAndFailedSetupsAreNotCompared) {
  reportedFlags = PF_OutFlag_I_AM_OBSOLETE;
  EXPECT_EQ(SetupRefusal(kPremiereId), "");

  reportedFlags2 = 0;
  setupResult = PF_Err_OUT_OF_MEMORY;
  Host host(SOLVANE_MODULE_PATH, FakeEntry);
  EXPECT_EQ(host.GlobalSetup(), PF_Err_OUT_OF_MEMORY);
}

}  // namespace
}  // namespace solvane::host
