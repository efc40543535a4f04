// The filter in the real hosts: FFmpeg's frei0r filter, melt (a command line and an MLT
// project with a keyframed position) and GStreamer's frei0r element render a 10-frame
// sequence, and every frame must equal solvane-render --depth 8 on the same frame with the
// same controls within one 8-bit code value.
#include <gtest/gtest.h>

#include "HostRunSupport.h"

namespace solvane::frei0r::test {
namespace {

constexpr int kTolerance = 1;

struct Case {
  const char* name;
  Controls controls;
};

const Case kCases[] = {
    {"Zoom",
     {{"Mode", ValueKind::kItem, "zoom", "Mode=Zoom"},
      {"Position X", ValueKind::kNumber, "0.3", "Position=28.8,38.4"},
      {"Position Y", ValueKind::kNumber, "0.6", ""},
      {"Length", ValueKind::kNumber, "0.5", "Length=1000"},
      {"Threshold", ValueKind::kNumber, "0.2", "Threshold=20"}}},
    {"SpinWithAberration",
     {{"Mode", ValueKind::kItem, "Spin", "Mode=Spin"},
      {"Spin Amount", ValueKind::kNumber, "0.125", "Style/Amount=45"},
      {"Aberration Amount", ValueKind::kNumber, "0.5", "Chromatic Aberration/Amount=50"},
      {"Aberration Channels", ValueKind::kItem, "red & green", "Channels=Red & Green"},
      {"Quality", ValueKind::kItem, "draft", "Quality/Quality=Draft"}}},
    {"InputProcessedView",
     {{"View", ValueKind::kItem, "input (processed)", "View=Input (Processed)"},
      {"Threshold Mode", ValueKind::kItem, "CHROMA", "Threshold Mode=Chroma"},
      {"Threshold", ValueKind::kNumber, "0.4", "Threshold=40"}}},
    {"RaysSoloInAndOutWithoutUnmult",
     {{"View", ValueKind::kItem, "rays-solo", "View=Rays Solo"},
      {"Direction", ValueKind::kItem, "In & Out", "Direction=In & Out"},
      {"Unmult", ValueKind::kBool, "0", "Unmult=off"}}},
    {"AddAtPartialOpacity",
     {{"Blend Mode", ValueKind::kItem, "add", "Blend Mode=Add"},
      {"Input Opacity", ValueKind::kNumber, "0.6", "Input Opacity=60"},
      {"Exposure", ValueKind::kNumber, "0.4", "Exposure=2"}}},
    {"CustomQualityWithoutEdgeRepeat",
     {{"Decay", ValueKind::kNumber, "0.25", "Decay=0.5"},
      {"Quality", ValueKind::kItem, "custom", "Quality/Quality=Custom"},
      {"Samples", ValueKind::kNumber, "0.125", "Samples=32"},
      {"Noise", ValueKind::kNumber, "0.5", "Noise=50"},
      {"Repeat Edges", ValueKind::kBool, "0", "Repeat Edges=off"}}},
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << c.name;
}

class HostRender : public ::testing::TestWithParam<Case> {
 protected:
  // The reference sequence of this case, rendered once.
  std::string ReferencePrefix() {
    const std::string prefix = std::string("ref_") + GetParam().name;
    const HostRun run = Reference(GetParam().controls, prefix);
    EXPECT_EQ(run.code, 0) << run.err;
    // The rays change the picture: a filter that passed frames through could not match.
    EXPECT_GT(MaxSequenceDifference("in", prefix), 16);
    return prefix;
  }
};

TEST_P(HostRender, EveryHostMatchesTheCliFrameByFrame) {
  const std::string ref = ReferencePrefix();
  const std::string name = GetParam().name;
  const HostRun ffmpeg = Ffmpeg(GetParam().controls, "ffmpeg_" + name);
  ASSERT_EQ(ffmpeg.code, 0) << ffmpeg.err;
  EXPECT_LE(MaxSequenceDifference("ffmpeg_" + name, ref), kTolerance) << "ffmpeg";
  const HostRun melt = Melt(GetParam().controls, "melt_" + name);
  ASSERT_EQ(melt.code, 0) << melt.err;
  EXPECT_LE(MaxSequenceDifference("melt_" + name, ref), kTolerance) << "melt";
  const HostRun gst = Gstreamer(GetParam().controls, "gst_" + name);
  ASSERT_EQ(gst.code, 0) << gst.err;
  EXPECT_LE(MaxSequenceDifference("gst_" + name, ref), kTolerance) << "gst-launch-1.0";
}

INSTANTIATE_TEST_SUITE_P(Cases, HostRender, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

// "Position X" keyframed from 0.2 at the first frame to 0.8 at the last, linearly, in an
// MLT project as Kdenlive and Shotcut write them: the rays follow frame by frame.
TEST(HostRenderKeyframes, MeltProjectWithKeyframedPositionMatchesCliKeyframes) {
  const HostRun ref =
      Reference({}, "ref_keys", "--key 'Position@0=19.2,32' --key 'Position@9=76.8,32'");
  ASSERT_EQ(ref.code, 0) << ref.err;
  const HostRun fixed =
      Reference({{"Position X", ValueKind::kNumber, "", "Position=19.2,32"}}, "ref_unkeyed");
  ASSERT_EQ(fixed.code, 0) << fixed.err;
  const std::string last = std::to_string(kFrames - 1);
  const HostRun melt =
      MeltXml("<producer id=\"clip\" in=\"0\" out=\"" + last +
                  "\"><property name=\"resource\">in.mkv</property></producer>\n"
                  "<playlist id=\"track\"><entry producer=\"clip\" in=\"0\" out=\"" +
                  last +
                  "\"/></playlist>\n"
                  "<tractor id=\"timeline\"><track producer=\"track\"/>"
                  "<filter><property name=\"mlt_service\">frei0r.solvane</property>"
                  "<property name=\"Position X\">0=0.2;" +
                  last +
                  "=0.8</property>"
                  "</filter></tractor>\n",
              "melt_keys");
  ASSERT_EQ(melt.code, 0) << melt.err;
  EXPECT_LE(MaxSequenceDifference("melt_keys", "ref_keys"), kTolerance);
  // The keyframes move the rays: a position held at its first key looks different.
  EXPECT_GT(MaxSequenceDifference("melt_keys", "ref_unkeyed"), 16);
}

}  // namespace
}  // namespace solvane::frei0r::test
