// solvane-render --info on the built module: the registration resource's fields and the
// About text as the module answers it; a missing module is one line and a failure code.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

struct CliRun {
  int code = -1;
  std::string out;
};

CliRun Execute(const std::string& arguments) {
  const std::string command = std::string("\"") + SOLVANE_RENDER_PATH + "\" " + arguments;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  CliRun run;
  char buffer[512];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) run.out += buffer;
  const int status = pclose(pipe.release());
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(InfoCli, PrintsTheRegistrationResourceAndTheAboutText) {
  const CliRun run = Execute("--info");
  EXPECT_EQ(run.code, 0);
  for (const char* expected :
       {"kind:            eFKT", "name:            Brindel's Solvane",
        "category:        Orvanta", "match name:      QRSV", "entry point:     EntryPointFunc",
        "PiPL version:    2.0", "spec version:    13.25", "0x00080001",
        "out flags:       0x04000000", "out flags 2:     0x08001408",
        "Brindel's Solvane v1.0\nSimulates volumetric lighting and radial blurs (zoom & spin)."}) {
    EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
  }
}

TEST(InfoCli, AMissingModuleIsOneLineOnStderrAndAFailureCode) {
  const CliRun run = Execute("--module /nonexistent/module.so --info 2>&1");
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.out.rfind("solvane-render: ", 0), 0u) << run.out;
  EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << run.out;
}

}  // namespace
