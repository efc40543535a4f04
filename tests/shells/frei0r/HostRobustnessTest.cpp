// The filter in the real hosts under hostile and unusual conditions: every parameter at
// 0, 1, negative, huge and NaN (and nonsense strings) through FFmpeg's and melt's command
// lines; several instances in one process; and a machine where no OpenGL context can be
// made. In the AddressSanitizer build the hosts run with the sanitizer preloaded.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "HostRunSupport.h"

namespace solvane::frei0r::test {
namespace {

const char* const kParamNames[] = {"Mode",
                                   "Position X",
                                   "Position Y",
                                   "Threshold Mode",
                                   "Threshold",
                                   "Threshold Smooth",
                                   "Length",
                                   "Spin Amount",
                                   "Exposure",
                                   "Decay",
                                   "Direction",
                                   "Aberration Amount",
                                   "Aberration Channels",
                                   "Quality",
                                   "Samples",
                                   "Noise",
                                   "Repeat Edges",
                                   "Input Opacity",
                                   "Blend Mode",
                                   "Unmult",
                                   "View"};
const char* const kItemParams[] = {"Mode",    "Threshold Mode", "Direction", "Aberration Channels",
                                   "Quality", "Blend Mode",     "View"};
const char* const kBoolParams[] = {"Repeat Edges", "Unmult"};

bool Among(const std::string& name, const auto& list) {
  for (const char* n : list) {
    if (name == n) return true;
  }
  return false;
}

// Every parameter at once: numbers at `number`, checkboxes on or off, and popups at a
// string no item has (or an item number out of range).
Controls Everything(const std::string& number, const std::string& item, const std::string& on) {
  Controls controls;
  for (const char* name : kParamNames) {
    if (Among(name, kItemParams)) {
      controls.push_back({name, ValueKind::kItem, item, ""});
    } else if (Among(name, kBoolParams)) {
      controls.push_back({name, ValueKind::kBool, on, ""});
    } else {
      controls.push_back({name, ValueKind::kNumber, number, ""});
    }
  }
  return controls;
}

struct Hostile {
  const char* name;
  const char* number;
  const char* item;
  const char* on;
};

const Hostile kHostile[] = {
    {"Zero", "0", "0", "0"},
    {"One", "1", "99", "1"},
    {"Negative", "-1", "-1", "0"},
    {"Huge", "1e300", "%s%n%x", "1"},
    {"NaN", "nan", "nonsense", "0"},
    {"NegativeHuge", "-1e300", "(-", "1"},
    // Item 6 is only Quality's: Custom, with the largest sample count and noise.
    {"HugeCustomQuality", "1e300", "6", "1"},
};

void PrintTo(const Hostile& c, std::ostream* os) {
  *os << c.name;
}

class HostileValues : public ::testing::TestWithParam<Hostile> {};

TEST_P(HostileValues, FfmpegAndMeltRenderEveryFrameWithoutACrash) {
  const Hostile& h = GetParam();
  const Controls controls = Everything(h.number, h.item, h.on);
  const std::string name = h.name;
  const HostRun ffmpeg = Ffmpeg(controls, "hostile_ffmpeg_" + name);
  EXPECT_EQ(ffmpeg.code, 0) << ffmpeg.err;
  EXPECT_EQ(ffmpeg.err.find("Sanitizer"), std::string::npos) << ffmpeg.err;
  const HostRun melt = Melt(controls, "hostile_melt_" + name);
  EXPECT_EQ(melt.code, 0) << melt.err;
  EXPECT_EQ(melt.err.find("Sanitizer"), std::string::npos) << melt.err;
  for (int f = 0; f < kFrames; ++f) {
    EXPECT_EQ(ReadFrame(FramePath("hostile_ffmpeg_" + name, f)).width, kWidth) << f;
    EXPECT_EQ(ReadFrame(FramePath("hostile_melt_" + name, f)).width, kWidth) << f;
  }
}

INSTANTIATE_TEST_SUITE_P(Values, HostileValues, ::testing::ValuesIn(kHostile),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(HostileValues, UnknownItemsAndNaNAreToldOnceAndTheValueStays) {
  const HostRun run = Ffmpeg(
      {{"Mode", ValueKind::kItem, "sideways", ""}, {"Length", ValueKind::kNumber, "nan", ""}},
      "told");
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_NE(run.err.find("solvane: \"Mode\" has no item \"sideways\"; it stays Zoom (items: "
                         "1: Spin, 2: Zoom)"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("solvane: \"Length\" cannot be NaN; it stays 1"), std::string::npos)
      << run.err;
  // The default controls render, so the frames equal the CLI's with its defaults.
  ASSERT_EQ(Reference({}, "told_ref").code, 0);
  EXPECT_LE(MaxSequenceDifference("told", "told_ref"), 1);
}

const Controls kZoom = {{"Position X", ValueKind::kNumber, "0.25", "Position=24,16"},
                        {"Position Y", ValueKind::kNumber, "0.25", ""},
                        {"Length", ValueKind::kNumber, "0.4", "Length=800"}};
const Controls kSpin = {{"Mode", ValueKind::kItem, "spin", "Mode=Spin"},
                        {"View", ValueKind::kItem, "rays solo", "View=Rays Solo"},
                        {"Quality", ValueKind::kItem, "draft", "Quality/Quality=Draft"}};

TEST(SeveralInstances, TwoFfmpegChainsEachMatchTheirOwnSingleRender) {
  ASSERT_EQ(Reference(kZoom, "chain_ref_zoom").code, 0);
  ASSERT_EQ(Reference(kSpin, "chain_ref_spin").code, 0);
  const std::string graph =
      "[0:v]split[a][b];[a]frei0r=filter_name=solvane:filter_params=" + FfmpegFilterParams(kZoom) +
      "[za];[b]frei0r=filter_name=solvane:filter_params=" + FfmpegFilterParams(kSpin) + "[sb]";
  const HostRun run = Shell(
      "ffmpeg -nostdin -v error -y -start_number 0 -i in_%04d.png "
      "-filter_complex '" +
      graph +
      "' -map '[za]' -pix_fmt rgba -start_number 0 chain_zoom_%04d.png "
      "-map '[sb]' -pix_fmt rgba -start_number 0 chain_spin_%04d.png");
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_LE(MaxSequenceDifference("chain_zoom", "chain_ref_zoom"), 1);
  EXPECT_LE(MaxSequenceDifference("chain_spin", "chain_ref_spin"), 1);
}

TEST(SeveralInstances, MeltOnSeveralThreadsAndTwoFiltersOnATrackMatchOneInstance) {
  ASSERT_EQ(Reference(kZoom, "threads_ref").code, 0);
  // real_time=-3: three worker threads render frames at once, each with its own instance.
  const HostRun threaded = Melt(kZoom, "threads_melt", "real_time=-3");
  ASSERT_EQ(threaded.code, 0) << threaded.err;
  EXPECT_LE(MaxSequenceDifference("threads_melt", "threads_ref"), 1);

  ASSERT_EQ(Reference(kSpin, "stacked_ref", "", "threads_ref").code, 0);
  const HostRun stacked = MeltChain({kZoom, kSpin}, "stacked_melt", "real_time=-2");
  ASSERT_EQ(stacked.code, 0) << stacked.err;
  EXPECT_LE(MaxSequenceDifference("stacked_melt", "stacked_ref"), 1);
}

// No EGL vendor library: no context can be made. The filter says so once and every frame
// passes through unchanged; the host finishes normally.
TEST(NoOpenGL, FramesPassThroughWithOneMessage) {
  const std::string noEgl = "__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent";
  const HostRun ffmpeg = Ffmpeg(kZoom, "noegl_ffmpeg", noEgl);
  ASSERT_EQ(ffmpeg.code, 0) << ffmpeg.err;
  const std::string message = "solvane: no OpenGL context";
  const size_t at = ffmpeg.err.find(message);
  EXPECT_NE(at, std::string::npos) << ffmpeg.err;
  EXPECT_EQ(ffmpeg.err.find(message, at + 1), std::string::npos) << ffmpeg.err;
  EXPECT_EQ(MaxSequenceDifference("noegl_ffmpeg", "in"), 0);
  const HostRun melt = Melt(kZoom, "noegl_melt", "real_time=-2", noEgl);
  ASSERT_EQ(melt.code, 0) << melt.err;
  EXPECT_NE(melt.err.find(message), std::string::npos) << melt.err;
  EXPECT_EQ(MaxSequenceDifference("noegl_melt", "in"), 0);
}


// Held below GLSL 3.30, Mesa builds none of the effect's shaders: the filter refuses to
// draw rather than hand back a frame of undefined pixels, and says so once. Standard output
// can be the video itself (ffmpeg ... -f rawvideo -): the GL messages go to standard error,
// and standard output holds exactly the frames, each the input passed through.
TEST(ShadersThatDoNotBuild, PassEveryFrameThroughAndKeepStandardOutputForTheFrames) {
  const std::string glslTooOld = "MESA_GLSL_VERSION_OVERRIDE=150";
  const HostRun ffmpeg = Shell(
      "sh -c 'ffmpeg -nostdin -v error -start_number 0 -i in_%04d.png "
      "-vf frei0r=filter_name=solvane -pix_fmt rgba -f rawvideo - > noprogram.rgba'",
      glslTooOld);
  ASSERT_EQ(ffmpeg.code, 0) << ffmpeg.err;
  EXPECT_NE(ffmpeg.err.find("Link Program Failed"), std::string::npos) << ffmpeg.err;
  const std::string message = "solvane: the effect's shaders do not build";
  const size_t at = ffmpeg.err.find(message);
  EXPECT_NE(at, std::string::npos) << ffmpeg.err;
  EXPECT_EQ(ffmpeg.err.find(message, at + 1), std::string::npos) << ffmpeg.err;

  std::string frames;
  for (int frame = 0; frame < kFrames; ++frame) {
    const Frame in = ReadFrame(FramePath("in", frame));
    frames.append(in.rgba.begin(), in.rgba.end());
  }
  std::ifstream raw(WorkDir() + "noprogram.rgba", std::ios::binary);
  const std::string written{std::istreambuf_iterator<char>(raw), {}};
  EXPECT_EQ(written.size(), frames.size());
  EXPECT_TRUE(written == frames) << "standard output is not exactly the input frames";

  const HostRun melt = Melt(kZoom, "noprogram_melt", "real_time=-2", glslTooOld);
  ASSERT_EQ(melt.code, 0) << melt.err;
  EXPECT_NE(melt.err.find(message), std::string::npos) << melt.err;
  EXPECT_EQ(MaxSequenceDifference("noprogram_melt", "in"), 0);
}

}  // namespace
}  // namespace solvane::frei0r::test
