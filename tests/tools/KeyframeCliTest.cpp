// --key on the host's parameter store, in-process: each kind of control between two keys,
// at a frame rate whose frames do not fall on round seconds, and the controls that refuse
// keyframes.
#include <gtest/gtest.h>

#include "host/Host.h"
#include "host/HostError.h"
#include "tools/render/Keyframes.h"
#include "tools/render/ParamAssignment.h"

namespace solvane::cli {
namespace {

class KeyframeCli : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(host_.ParamsSetup(), PF_Err_NONE);
    host::LayerState& layer = host_.Layer();
    layer.width = 480;
    layer.height = 270;
    layer.timeScale = 29970;  // 29.97 frames a second, as --fps 29.97 sets it
    layer.timeStep = 1000;
  }

  void Key(const std::string& text) {
    ApplyKeyAssignment(host_.Params(), ParseKeyAssignment(text), host_.Layer());
  }

  // The value the effect sees at a frame: the host's own time for it.
  host::ParamValue At(const std::string& name, int frame) {
    const host::LayerState& layer = host_.Layer();
    const double seconds = double(A_long(frame * layer.timeStep)) / layer.timeScale;
    return host_.Params().ValueAt(host_.Params().Find(name), seconds, layer);
  }

  host::Host host_{SOLVANE_MODULE_PATH};
};

TEST_F(KeyframeCli, SlidersPointsAndAnglesMoveLinearlyBetweenKeys) {
  Key("Exposure@10=1");
  Key("Exposure@20=3");
  Key("Position@10=40,60");
  Key("Position@20=440,200");
  Key("Style/Amount@10=0");
  Key("Style/Amount@20=90");
  EXPECT_DOUBLE_EQ(At("Exposure", 0).a, 1);  // before the first key: its value
  EXPECT_NEAR(At("Exposure", 15).a, 2, 1e-9);
  EXPECT_DOUBLE_EQ(At("Exposure", 30).a, 3);
  EXPECT_NEAR(At("Position", 15).a, 240, 1e-9);
  EXPECT_NEAR(At("Position", 15).b, 130, 1e-9);
  EXPECT_NEAR(At("Style/Amount", 12).a, 18, 1e-9);
}

TEST_F(KeyframeCli, PopupsAndCheckboxesHoldUntilTheFrameOfTheNextKey) {
  // At 29.97 fps frame 10 is 10 / 29.97 s; the key must land exactly there, not a hair
  // after it, or the change shows one frame late.
  Key("Mode@0=Zoom");
  Key("Mode@10=Spin");
  Key("Repeat Edges@0=on");
  Key("Repeat Edges@16=off");
  EXPECT_EQ(At("Mode", 9).a, 2);
  EXPECT_EQ(At("Mode", 10).a, 1);
  EXPECT_EQ(At("Repeat Edges", 15).a, 1);
  EXPECT_EQ(At("Repeat Edges", 16).a, 0);
  for (int frame = 1; frame < 200; ++frame) {
    Key("Direction@" + std::to_string(frame) + "=" + std::to_string(1 + frame % 3));
    ASSERT_EQ(At("Direction", frame).a, 1 + frame % 3) << "frame " << frame;
  }
}

TEST_F(KeyframeCli, QualityAndViewCannotVaryOverTime) {
  for (const char* key : {"Quality/Quality@3=Draft", "View@0=Rays Solo", "33@2=1"}) {
    try {
      Key(key);
      ADD_FAILURE() << key << " was accepted";
    } catch (const host::HostError& e) {
      EXPECT_NE(std::string(e.what()).find("cannot vary over time"), std::string::npos) << e.what();
    }
  }
}

TEST_F(KeyframeCli, FramesBeyondTheHostsClockAreRefused) {
  EXPECT_THROW(Key("Exposure@9999999=1"), OptionError);  // 9999999 x 1000 ticks overflow
  EXPECT_NO_THROW(Key("Exposure@2000000=1"));
}

}  // namespace
}  // namespace solvane::cli
