// The host's parameter store, filled by the real module's PARAMS_SETUP: defaults, values by
// name, refusals, keyframes, points at the downsample, checkout balance and UI updates.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "AE_EffectSuites.h"
#include "host/CoreSuites.h"
#include "host/Host.h"
#include "host/HostError.h"
#include "core/controls/ControlTable.h"

namespace solvane {
namespace {

using solvane::host::Host;
using solvane::host::HostError;
using solvane::host::ParamStore;
using solvane::host::ParamValue;

class ParamStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.Layer().width = 1920;
    host_.Layer().height = 1080;
    ASSERT_EQ(host_.ParamsSetup(), PF_Err_NONE);
  }
  ParamStore& Store() { return host_.Params(); }
  ParamValue At(int index, double seconds = 0) {
    return Store().ValueAt(index, seconds, host_.Layer());
  }
  std::string Refusal(int index, ParamValue value) {
    try {
      Store().Set(index, value);
    } catch (const HostError& e) {
      return e.what();
    }
    return "";
  }
  // checkout_param as the effect calls it.
  PF_ParamDef CheckOut(int index, A_long time = 0) {
    PF_ParamDef def{};
    const PF_InteractCallbacks inter = solvane::host::InteractCallbacks();
    EXPECT_EQ(inter.checkout_param(Ref(), index, time, 1, 25, &def), PF_Err_NONE);
    EXPECT_EQ(inter.checkin_param(Ref(), &def), PF_Err_NONE);
    return def;
  }
  PF_ProgPtr Ref() { return reinterpret_cast<PF_ProgPtr>(&host_); }

  Host host_{SOLVANE_MODULE_PATH};
};

TEST_F(ParamStoreTest, AFreshInstanceHasTheRegisteredDefaults) {
  EXPECT_EQ(At(kParamMode).a, 2);
  EXPECT_EQ(At(kParamPosition).a, 960);
  EXPECT_EQ(At(kParamPosition).b, 540);
  EXPECT_EQ(At(kParamQuality).a, 2);
  EXPECT_EQ(At(kParamView).a, 3);
  EXPECT_EQ(At(kParamRepeatEdges).a, 1);
  EXPECT_EQ(At(kParamUnmult).a, 1);
  EXPECT_EQ(At(kParamSpinAmount).a, 30);
  EXPECT_EQ(At(kParamLength).a, 2000);
}

TEST_F(ParamStoreTest, ValuesBeyondTheSliderButInsideTheValidRangeAreAccepted) {
  const struct {
    int index;
    double value;
  } typed[] = {{kParamThreshold, 500}, {kParamLength, 8000},         {kParamSamples, 1000},
               {kParamNoise, 400},     {kParamBufferExpansion, 600}, {kParamAberrationAmount, -150},
               {kParamDebugLeft, -800}};
  for (const auto& t : typed) {
    EXPECT_EQ(Refusal(t.index, {t.value, 0}), "") << t.index;
    EXPECT_EQ(At(t.index).a, t.value);
    EXPECT_EQ(CheckOut(t.index).u.fs_d.value, t.value);
  }
}

TEST_F(ParamStoreTest, ValuesOutsideTheValidRangeAreRefusedWithTheRange) {
  EXPECT_EQ(Refusal(kParamSamples, {0.5, 0}),
            "\"Quality/Samples\" (index 24) refuses 0.5: its valid range is 1 to 5000");
  for (int index : {kParamDebugLeft, kParamDebugTop, kParamDebugRight, kParamDebugBottom}) {
    EXPECT_NE(Refusal(index, {1000.5, 0}), "") << index;
    EXPECT_NE(Refusal(index, {-1001, 0}), "") << index;
    EXPECT_EQ(Refusal(index, {-1000, 0}), "") << index;
  }
  EXPECT_EQ(At(kParamSamples).a, 64);  // a refused value changes nothing
}

TEST_F(ParamStoreTest, PopupsTakeOnlyTheirChoicesAndNeverTheSeparator) {
  EXPECT_NE(Refusal(kParamQuality, {5, 0}).find("separator"), std::string::npos);
  EXPECT_NE(Refusal(kParamMode, {3, 0}), "");
  EXPECT_NE(Refusal(kParamMode, {0, 0}), "");
  EXPECT_NE(Refusal(kParamMode, {1.5, 0}), "");
  EXPECT_EQ(Refusal(kParamQuality, {6, 0}), "");
  EXPECT_NE(Refusal(kParamUnmult, {2, 0}), "");
  EXPECT_NE(Refusal(2, {1, 0}), "");  // the version button has no value
  EXPECT_NE(Refusal(kParamLength, {std::nan(""), 0}), "");
}

TEST_F(ParamStoreTest, QualityAndViewCannotBeKeyframedEverythingElseCan) {
  for (int index : {kParamQuality, kParamView}) {
    EXPECT_THROW(Store().SetKeyframe(index, 1, {1, 0}), HostError) << index;
  }
  EXPECT_NO_THROW(Store().SetKeyframe(kParamLength, 1, {100, 0}));
  EXPECT_NO_THROW(Store().SetKeyframe(kParamMode, 1, {1, 0}));
  EXPECT_NO_THROW(Store().SetKeyframe(kParamPosition, 1, {10, 20}));
  EXPECT_NO_THROW(Store().SetKeyframe(kParamSpinAmount, 1, {45, 0}));
  EXPECT_NO_THROW(Store().SetKeyframe(kParamUnmult, 1, {0, 0}));
  EXPECT_THROW(Store().SetKeyframe(kParamLength, 1, {-1, 0}), HostError);
}

TEST_F(ParamStoreTest, SlidersPointsAndAnglesInterpolateLinearly) {
  Store().SetKeyframe(kParamLength, 0, {0, 0});
  Store().SetKeyframe(kParamLength, 2, {1000, 0});
  Store().SetKeyframe(kParamPosition, 0, {0, 100});
  Store().SetKeyframe(kParamPosition, 1, {100, 0});
  Store().SetKeyframe(kParamSpinAmount, 0, {0, 0});
  Store().SetKeyframe(kParamSpinAmount, 1, {90, 0});
  EXPECT_DOUBLE_EQ(At(kParamLength, 0.5).a, 250);
  EXPECT_DOUBLE_EQ(At(kParamLength, -1).a, 0);     // before the first key
  EXPECT_DOUBLE_EQ(At(kParamLength, 10).a, 1000);  // after the last
  EXPECT_DOUBLE_EQ(At(kParamPosition, 0.25).a, 25);
  EXPECT_DOUBLE_EQ(At(kParamPosition, 0.25).b, 75);
  EXPECT_EQ(CheckOut(kParamSpinAmount, 8).u.ad.value, std::lround(90.0 * 8 / 25 * 65536));
  // checkout_param reads the time in the command's own scale: 25 of 25 is one second.
  EXPECT_EQ(CheckOut(kParamLength, 25).u.fs_d.value, 500);
}

TEST_F(ParamStoreTest, PopupsAndCheckboxesHoldUntilTheNextKey) {
  Store().SetKeyframe(kParamDirection, 0, {1, 0});
  Store().SetKeyframe(kParamDirection, 1, {3, 0});
  Store().SetKeyframe(kParamUnmult, 0, {0, 0});
  Store().SetKeyframe(kParamUnmult, 1, {1, 0});
  EXPECT_EQ(At(kParamDirection, 0.99).a, 1);
  EXPECT_EQ(At(kParamDirection, 1).a, 3);
  EXPECT_EQ(At(kParamUnmult, 0.5).a, 0);
  EXPECT_EQ(CheckOut(kParamDirection, 24).u.pd.value, 1);
}

TEST_F(ParamStoreTest, SettingAValueReplacesTheKeyframes) {
  Store().SetKeyframe(kParamLength, 0, {0, 0});
  Store().SetKeyframe(kParamLength, 1, {100, 0});
  Store().Set(kParamLength, {42, 0});
  EXPECT_EQ(At(kParamLength, 0.5).a, 42);
}

TEST_F(ParamStoreTest, PointsReachTheEffectScaledByEachDownsampleFactor) {
  Store().Set(kParamPosition, {300, 100});
  host_.Layer().downsampleX = {1, 2};
  host_.Layer().downsampleY = {1, 4};
  const PF_ParamDef def = CheckOut(kParamPosition);
  EXPECT_EQ(def.u.td.x_value, 150 << 16);
  EXPECT_EQ(def.u.td.y_value, 25 << 16);
  EXPECT_EQ(At(kParamPosition).a, 300);  // the user's value stays in full-resolution pixels
}

TEST_F(ParamStoreTest, ControlsAreFoundByNameGroupAndIndex) {
  EXPECT_EQ(Store().Find("Length"), kParamLength);
  EXPECT_EQ(Store().Find("buffer expansion"), kParamBufferExpansion);
  EXPECT_EQ(Store().Find("Style/Amount"), kParamSpinAmount);
  EXPECT_EQ(Store().Find("Chromatic Aberration/Amount"), kParamAberrationAmount);
  EXPECT_EQ(Store().Find("Quality/Quality"), kParamQuality);
  EXPECT_EQ(Store().Find("Compositing/Blend Mode"), kParamBlendMode);
  EXPECT_EQ(Store().Find("27"), kParamBufferExpansion);
}

TEST_F(ParamStoreTest, UnknownAndAmbiguousNamesAreRefusedWithTheChoices) {
  auto message = [this](const std::string& name) {
    try {
      Store().Find(name);
    } catch (const HostError& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  EXPECT_EQ(message("Amount"),
            "\"Amount\" names 2 controls: use \"Style/Amount\" or \"Chromatic Aberration/Amount\"");
  EXPECT_EQ(message("Quality"),
            "\"Quality\" names 2 controls: use index 22 or \"Quality/Quality\"");
  EXPECT_EQ(message("Glow"), "unknown control \"Glow\"");
  EXPECT_NE(message("41"), "");
  EXPECT_NE(message("0"), "");
  EXPECT_NE(message("99999999999999"), "");
}

TEST_F(ParamStoreTest, CheckoutsAreBalancedByDefinition) {
  const PF_InteractCallbacks inter = solvane::host::InteractCallbacks();
  PF_ParamDef a{}, b{};
  ASSERT_EQ(inter.checkout_param(Ref(), kParamLength, 0, 1, 25, &a), PF_Err_NONE);
  ASSERT_EQ(inter.checkout_param(Ref(), kParamMode, 0, 1, 25, &b), PF_Err_NONE);
  EXPECT_EQ(host_.Checkouts().Outstanding(), 2);
  inter.checkin_param(Ref(), &a);
  EXPECT_EQ(host_.Checkouts().Outstanding(), 1);
  inter.checkin_param(Ref(), &a);  // a second check-in of the same definition
  EXPECT_EQ(host_.Checkouts().StrayCheckins(), 1);
  inter.checkin_param(Ref(), &b);
  EXPECT_EQ(host_.Checkouts().Outstanding(), 0);
  EXPECT_EQ(inter.checkout_param(Ref(), 41, 0, 1, 25, &a), PF_Err_INVALID_INDEX);
  EXPECT_EQ(inter.checkout_param(Ref(), kParamLength, 0, 1, 0, &a), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(host_.Checkouts().Outstanding(), 0);
}

TEST_F(ParamStoreTest, AUiUpdateMustKeepTheControlsKind) {
  const void* suite = nullptr;
  ASSERT_EQ(host_.Suites().Acquire(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, &suite), 0);
  const auto* utils = static_cast<const PF_ParamUtilsSuite3*>(suite);
  PF_ParamDef def = Store().DefinitionAt(kParamBlendMode, 0, host_.Layer());
  def.ui_flags |= PF_PUI_DISABLED;
  def.param_type = PF_Param_FLOAT_SLIDER;
  EXPECT_EQ(utils->PF_UpdateParamUI(Ref(), kParamBlendMode, &def), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_FALSE(Store().Disabled(kParamBlendMode));
  def.param_type = PF_Param_POPUP;
  EXPECT_EQ(utils->PF_UpdateParamUI(Ref(), kParamBlendMode, &def), PF_Err_NONE);
  EXPECT_TRUE(Store().Disabled(kParamBlendMode));
  host_.Suites().Release(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3);
}

TEST(ParamStoreCapture, RegisteredStringsAreTheHostsOwnCopies) {
  ParamStore store;
  char items[] = "One|Two";
  PF_ParamDef def{};
  def.param_type = PF_Param_POPUP;
  std::strcpy(def.name, "Pick");
  def.u.pd.u.namesptr = items;
  def.u.pd.num_choices = 2;
  def.u.pd.value = 1;
  ASSERT_EQ(store.Add(def), PF_Err_NONE);
  items[0] = 'X';
  EXPECT_EQ(store.At(1).Choices()[0], "One");
  PF_ParamDef unterminated{};
  unterminated.param_type = PF_Param_FLOAT_SLIDER;
  std::memset(unterminated.name, 'a', sizeof unterminated.name);
  EXPECT_EQ(store.Add(unterminated), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(store.Count(), 1);
}

}  // namespace
}  // namespace solvane
