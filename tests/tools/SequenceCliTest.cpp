// Sequences through solvane-render: frame names, keyframes per kind, presets, threads and
// the failures a batch render must report before it writes anything.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "host/HostError.h"
#include "tools/render/FramePattern.h"
#include "tools/render/Keyframes.h"
#include "tools/render/ParamAssignment.h"

namespace solvane::cli {
namespace {

namespace fs = std::filesystem;

struct SequenceRun {
  int code = 0;
  std::string err;
};

fs::path Folder(const std::string& name) {
  // The process id keeps runs from several checkouts at once out of each other's folders.
  const fs::path folder =
      fs::path(::testing::TempDir()) / ("solvane_seq_" + name + "-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

SequenceRun Render(const std::string& args) {
  // One file per process: ctest runs these tests as separate processes side by side.
  const std::string errPath =
      ::testing::TempDir() + "solvane_seq_stderr-" + std::to_string(getpid()) + ".txt";
  const std::string command = std::string("\"") + SOLVANE_RENDER_PATH + "\" --module \"" +
                              SOLVANE_MODULE_PATH + "\" --quiet " + args + " 2>" + errPath;
  const int status = std::system(command.c_str());
  std::ifstream file(errPath);
  std::stringstream text;
  text << file.rdbuf();
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
}

std::string Bytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

const std::string kDemo = std::string(SOLVANE_SOURCE_DIR) + "/assets/demo/skyline.png";
// Small and quick: a quarter of the demo, few samples, "Position" moving over the frames.
const std::string kQuick = "--downsample 4 --param Quality/Quality=Custom --param Samples=12 "
                           "--param Noise=0 --key Position@0=40,60 --key Position@5=440,200 ";

TEST(FramePattern, NamesCarryTheFrameNumber) {
  EXPECT_EQ(ExpandFramePattern("shot_####.exr", 7), "shot_0007.exr");
  EXPECT_EQ(ExpandFramePattern("shot_##.exr", 123), "shot_123.exr");
  EXPECT_EQ(ExpandFramePattern("shot.%04d.png", 42), "shot.0042.png");
  EXPECT_EQ(ExpandFramePattern("shot.%d.png", 42), "shot.42.png");
  EXPECT_EQ(ExpandFramePattern("100%.png", 3), "100%.png");
  EXPECT_EQ(ExpandFramePattern("still.png", 3), "still.png");
  EXPECT_TRUE(HasFramePattern("a_%03d.tif"));
  EXPECT_FALSE(HasFramePattern("a_%s.tif"));
  // "%%" is printf's percent sign: "%%d" is no frame number, and around one it is "%".
  EXPECT_FALSE(HasFramePattern("100%%d.png"));
  EXPECT_EQ(ExpandFramePattern("100%%d.png", 3), "100%%d.png");
  EXPECT_EQ(ExpandFramePattern("100%%_%02d.png", 3), "100%_03.png");
}

TEST(FramePattern, RangesAreReadOrRefused) {
  EXPECT_EQ(ParseFrameRange("3-9").first, 3);
  EXPECT_EQ(ParseFrameRange("3-9").Count(), 7);
  EXPECT_EQ(ParseFrameRange("12").Count(), 1);
  // The widest range an int counts; one frame more is refused rather than wrapping.
  EXPECT_EQ(ParseFrameRange("1-2147483647").Count(), 2147483647);
  for (const char* bad : {"9-3", "-4", "a-b", "", "1-", "1-2-3", "0-2147483647"}) {
    EXPECT_THROW(ParseFrameRange(bad), OptionError) << bad;
  }
}

TEST(KeyOption, ReadsNameFrameAndValue) {
  const KeyAssignment key = ParseKeyAssignment("Position@12=40,60");
  EXPECT_EQ(key.name, "Position");
  EXPECT_EQ(key.frame, 12);
  EXPECT_EQ(key.value, "40,60");
  for (const char* bad : {"Position=1", "@3=1", "Position@x=1", "Position@3="}) {
    EXPECT_THROW(ParseKeyAssignment(bad), OptionError) << bad;
  }
}

TEST(SequenceCli, MissingInputFrameIsNamedAndNothingIsWritten) {
  const fs::path dir = Folder("missing");
  for (int n : {1, 2, 4}) fs::copy_file(kDemo, dir / ("in_000" + std::to_string(n) + ".png"));
  const SequenceRun run = Render("--frames 1-4 " + (dir / "in_####.png").string() + " " +
                                 (dir / "out_####.png").string());
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("input frame 3 is missing"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("in_0003.png"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(dir / "out_0001.png"));
}

TEST(SequenceCli, ThreadedSequenceMatchesOneThreadFrameForFrame) {
  const fs::path one = Folder("one"), four = Folder("four");
  ASSERT_EQ(Render(kQuick + "--frames 0-5 " + kDemo + " " + (one / "f_####.png").string()).code, 0);
  ASSERT_EQ(Render(kQuick + "--threads 4 --frames 0-5 " + kDemo + " " +
                   (four / "f_%04d.png").string()).code, 0);
  for (int n = 0; n <= 5; ++n) {
    const std::string name = "f_000" + std::to_string(n) + ".png";
    EXPECT_EQ(Bytes(one / name), Bytes(four / name)) << name;
  }
  EXPECT_NE(Bytes(one / "f_0000.png"), Bytes(one / "f_0005.png"));  // the position moved
  for (const auto& entry : fs::directory_iterator(four)) {
    EXPECT_EQ(entry.path().filename().string().rfind(".partial-", 0), std::string::npos);
  }
}

TEST(SequenceCli, PresetRoundTripGivesTheSameOutput) {
  const fs::path dir = Folder("preset");
  const std::string look = "--param Mode=Spin --param Style/Amount=40 --param Exposure=2 "
                           "--param Channels='Green & Blue' --param Unmult=off ";
  const std::string preset = (dir / "look.json").string();
  ASSERT_EQ(Render(kQuick + look + "--save-preset " + preset).code, 0);
  ASSERT_EQ(Render(kQuick + look + "--frames 5 " + kDemo + " " + (dir / "a.png").string()).code, 0);
  ASSERT_EQ(Render("--downsample 4 --preset " + preset + " --frames 5 " + kDemo + " " +
                   (dir / "b.png").string()).code, 0);
  EXPECT_EQ(Bytes(dir / "a.png"), Bytes(dir / "b.png"));

  std::ofstream(dir / "bad.json") << R"({"controls": {"Sparkle": 3}})";
  const SequenceRun bad = Render("--preset " + (dir / "bad.json").string() + " " + kDemo + " " +
                                 (dir / "c.png").string());
  EXPECT_EQ(bad.code, 1);
  EXPECT_NE(bad.err.find("Sparkle"), std::string::npos) << bad.err;
}

TEST(SequenceCli, PresetKeepsThePointAtTheCentreAndTheCommandLineOverridesIt) {
  const fs::path dir = Folder("preset_centre");
  const std::string preset = (dir / "glow.json").string();
  const std::string quick = "--downsample 4 --param Quality/Quality=Draft ";
  // Saved with no INPUT and with one: "Position" was never moved, so neither preset pins it.
  ASSERT_EQ(Render(quick + "--param Length=300 --key Exposure@0=1 --key Exposure@4=4 "
                   "--save-preset " + preset).code, 0);
  EXPECT_EQ(Bytes(preset).find("Position"), std::string::npos) << Bytes(preset);
  ASSERT_EQ(Render(quick + "--param Length=300 --key Exposure@0=1 --key Exposure@4=4 "
                   "--frames 2 --save-preset " + (dir / "again.json").string() + " " + kDemo +
                   " " + (dir / "direct.png").string()).code, 0);
  EXPECT_EQ(Bytes(dir / "again.json").find("Position"), std::string::npos);
  ASSERT_EQ(Render(quick + "--preset " + preset + " --frames 2 " + kDemo + " " +
                   (dir / "preset.png").string()).code, 0);
  EXPECT_EQ(Bytes(dir / "direct.png"), Bytes(dir / "preset.png"));
  // A --param value replaces the preset's keyframes on that control.
  ASSERT_EQ(Render(quick + "--preset " + preset + " --param Exposure=0 --frames 2 " + kDemo +
                   " " + (dir / "override.png").string()).code, 0);
  ASSERT_EQ(Render(quick + "--param Length=300 --param Exposure=0 " + kDemo + " " +
                   (dir / "plain.png").string()).code, 0);
  EXPECT_EQ(Bytes(dir / "override.png"), Bytes(dir / "plain.png"));
}

TEST(SequenceCli, DocumentedErrorsGiveTheirMessageAndCode) {
  const fs::path dir = Folder("errors");
  const std::string out = (dir / "x_####.png").string();
  const std::string misspelt = (dir / "misspelt.json").string();
  std::ofstream(misspelt) << R"({"control": {"Length": 3}})";
  const struct {
    std::string args;
    int code;
    std::string says;
  } cases[] = {
      {"--frames 0-2 " + kDemo + " " + (dir / "x.png").string(), 2, "OUTPUT needs ####"},
      {"--frames 4-2 " + kDemo + " " + out, 2, "--frames"},
      {kDemo + " " + out, 2, "give the frames with --frames"},
      {"--key 'Quality/Quality@3=Draft' --frames 0-1 " + kDemo + " " + out, 1,
       "cannot vary over time"},
      {"--key View@3=1 --frames 0-1 " + kDemo + " " + out, 1, "cannot vary over time"},
      {"--frames 0-1 --key Glow@3=1 " + kDemo + " " + out, 1, "Glow"},
      {"--frames 0-1 --key Exposure@3=bright " + kDemo + " " + out, 2, "bright"},
      {"--frames 0-1 --key Exposure@3=90 " + kDemo + " " + out, 1, "Exposure"},
      {"--frames 0-1 --background purple " + kDemo + " " + out, 2, "--background"},
      {"--frames 0-1 --preset /no/such/look.json " + kDemo + " " + out, 2, "look.json"},
      {"--frames 0-1 --preset " + misspelt + " " + kDemo + " " + out, 2,
       "unknown entry \"control\""},
      {"--frames 0-1 --fps 0.0001 " + kDemo + " " + out, 2, "--fps"},
      {"--frames 9999990-9999999 " + kDemo + " " + out, 2, "time range"},
  };
  for (const auto& c : cases) {
    const SequenceRun run = Render(c.args);
    EXPECT_EQ(run.code, c.code) << c.args << ": " << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << c.args << ": " << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  }
}

}  // namespace
}  // namespace solvane::cli
