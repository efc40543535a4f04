// solvane-render --list-params and --ui-state on the built module and executable.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

struct CliRun {
  int status = -1;
  std::string out;  // stdout and stderr together
};

CliRun Cli(const std::string& arguments) {
  const std::string command = std::string("'") + SOLVANE_RENDER_PATH + "' --module \"" +
                              SOLVANE_MODULE_PATH + "\" " + arguments + " 2>&1";
  CliRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer{};
  size_t n = 0;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// The state column of one control's line in --ui-state.
std::string StateOf(const std::string& out, const std::string& control) {
  const size_t at = out.find("  " + control + " ");
  if (at == std::string::npos) return "(missing)";
  const size_t end = out.find('\n', at);
  std::string line = out.substr(at + 2 + control.size(), end - at - 2 - control.size());
  return line.substr(line.find_first_not_of(' '));
}

TEST(CliListParams, PrintsEveryControlAsRegistered) {
  const CliRun run = Cli("--list-params");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.out.find("Brindel's Solvane v1.0.0"), std::string::npos);
  EXPECT_NE(run.out.find("Chromatic Aberration  Amount"), std::string::npos);
  EXPECT_NE(run.out.find("items \"Draft|Moderate|High|Extreme|(-|Custom\""), std::string::npos);
  EXPECT_NE(run.out.find("1 to 5000"), std::string::npos);
  EXPECT_NE(run.out.find("-1000 to 1000"), std::string::npos);
  EXPECT_NE(run.out.find("50%, 50% of layer"), std::string::npos);
  EXPECT_NE(run.out.find("40 controls; the module reports 41 parameters"), std::string::npos);
  size_t lines = 0;
  for (char c : run.out) lines += c == '\n';
  EXPECT_EQ(lines, 42u);  // heading, 40 controls, summary
}

TEST(CliUiState, DefaultsHideTheSpinAngleCustomControlsAndDebug) {
  const CliRun run = Cli("--ui-state");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(StateOf(run.out, "Style/Amount"), "hidden");
  EXPECT_EQ(StateOf(run.out, "Style/Length"), "shown");
  EXPECT_EQ(StateOf(run.out, "Quality/Samples"), "hidden");
  EXPECT_EQ(StateOf(run.out, "Debug"), "hidden");
  EXPECT_EQ(StateOf(run.out, "Debug/Left"), "hidden with its group");
  EXPECT_EQ(StateOf(run.out, "Compositing/Blend Mode"), "shown");
}

TEST(CliUiState, ValuesByNameItemAndIndexDriveTheInteraction) {
  const CliRun run =
      Cli("--ui-state --param Mode=Spin --param Quality/Quality=custom "
          "--param 33=2 --param Position=10,20 --param Unmult=off");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(StateOf(run.out, "Style/Amount"), "shown");
  EXPECT_EQ(StateOf(run.out, "Style/Length"), "hidden");
  EXPECT_EQ(StateOf(run.out, "Style/Direction"), "hidden");
  EXPECT_EQ(StateOf(run.out, "Quality/Noise"), "shown");
  EXPECT_EQ(StateOf(run.out, "Compositing/Input Opacity"), "greyed out");
  EXPECT_EQ(StateOf(run.out, "Compositing/Unmult"), "greyed out");
}

TEST(CliUiState, BadAssignmentsFailWithOneClearLine) {
  const struct {
    const char* argument;
    int status;
    const char* message;
  } cases[] = {
      {"--param Amount=3", 1, "\"Amount\" names 2 controls"},
      {"--param Glow=3", 1, "unknown control \"Glow\""},
      {"--param Samples=0", 1, "valid range is 1 to 5000"},
      {"--param Quality/Quality=Ultra", 2,
       "expected one of Draft, Moderate, High, Extreme, Custom"},
      {"--param Position=5", 2, "expected x,y"},
      {"--param Unmult=maybe", 2, "expected on or off"},
      {"--param Length", 2, "expected NAME=VALUE"},
  };
  for (const auto& c : cases) {
    const CliRun run = Cli(std::string("--ui-state ") + c.argument);
    EXPECT_EQ(run.status, c.status) << c.argument << ": " << run.out;
    EXPECT_NE(run.out.find(c.message), std::string::npos) << c.argument << ": " << run.out;
    EXPECT_EQ(run.out.find("index  control"), std::string::npos) << c.argument;
  }
}

}  // namespace
