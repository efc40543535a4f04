// The render command in-process, where the host can make the module fail: the module's
// own error codes reach the user with their SDK names and the module's message.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "AE_EffectCBSuites.h"
#include "host/Host.h"
#include "tools/render/RenderCommand.h"

namespace solvane::cli {
namespace {

RenderOptions Options() {
  RenderOptions options;
  options.input = std::string(SOLVANE_SOURCE_DIR) + "/tests/tools/data/ramp.png";
  options.output =
      ::testing::TempDir() + "solvane_cli_command-" + std::to_string(getpid()) + ".png";
  return options;
}

std::string FailureOf(host::Host& host) {
  try {
    RenderCommand(host, Options());
  } catch (const RenderError& e) {
    return e.what();
  }
  return "no error";
}

TEST(RenderCliCommand, ModuleErrorsNameTheirCodeAndCarryTheModulesMessage) {
  host::Host failing(SOLVANE_MODULE_PATH);
  failing.Faults().Fail("checkout_output", 0, PF_Err_OUT_OF_MEMORY);
  EXPECT_EQ(FailureOf(failing),
            "the module answered the smart render with PF_Err_OUT_OF_MEMORY (4)");
  host::Host withheld(SOLVANE_MODULE_PATH);
  withheld.Suites().Withhold(kPFWorldSuite, kPFWorldSuiteVersion2);
  EXPECT_EQ(FailureOf(withheld),
            "the module answered the smart render with A_Err_MISSING_SUITE (13): Not able to "
            "acquire AEFX Suite.");
}

TEST(RenderCliCommand, OptionsOutOfRangeAreRefusedBeforeAnyCommand) {
  host::Host host(SOLVANE_MODULE_PATH);
  RenderOptions options = Options();
  options.threads = 0;
  EXPECT_THROW(RenderCommand(host, options), OptionError);
  EXPECT_TRUE(host.Log().Calls().empty());
}

}  // namespace
}  // namespace solvane::cli
