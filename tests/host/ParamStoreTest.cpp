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

namespace {

using solvane::host::Host;
using solvane::host::HostError;
using solvane::host::ParamStore;
using solvane::host::ParamValue;

constexpr int kMode = 4, kPosition = 5, kThreshold = 8, kLength = 12, kSpinAmount = 13,
              kDirection = 16, kAberration = 18, kQuality = 23, kSamples = 24, kNoise = 25,
              kRepeatEdges = 26, kExpansion = 27, kBlendMode = 31, kUnmult = 32, kView = 33,
              kLeft = 36, kTop = 37, kRight = 38, kBottom = 39;

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
  EXPECT_EQ(At(kMode).a, 2);
  EXPECT_EQ(At(kPosition).a, 960);
  EXPECT_EQ(At(kPosition).b, 540);
  EXPECT_EQ(At(kQuality).a, 2);
  EXPECT_EQ(At(kView).a, 3);
  EXPECT_EQ(At(kRepeatEdges).a, 1);
  EXPECT_EQ(At(kUnmult).a, 1);
  EXPECT_EQ(At(kSpinAmount).a, 30);
  EXPECT_EQ(At(kLength).a, 2000);
}

TEST_F(ParamStoreTest, ValuesBeyondTheSliderButInsideTheValidRangeAreAccepted) {
  const struct {
    int index;
    double value;
  } typed[] = {{kThreshold, 500}, {kLength, 8000},     {kSamples, 1000}, {kNoise, 400},
               {kExpansion, 600}, {kAberration, -150}, {kLeft, -800}};
  for (const auto& t : typed) {
    EXPECT_EQ(Refusal(t.index, {t.value, 0}), "") << t.index;
    EXPECT_EQ(At(t.index).a, t.value);
    EXPECT_EQ(CheckOut(t.index).u.fs_d.value, t.value);
  }
}

TEST_F(ParamStoreTest, ValuesOutsideTheValidRangeAreRefusedWithTheRange) {
  EXPECT_EQ(Refusal(kSamples, {0.5, 0}),
            "\"Quality/Samples\" (index 24) refuses 0.5: its valid range is 1 to 5000");
  for (int index : {kLeft, kTop, kRight, kBottom}) {
    EXPECT_NE(Refusal(index, {1000.5, 0}), "") << index;
    EXPECT_NE(Refusal(index, {-1001, 0}), "") << index;
    EXPECT_EQ(Refusal(index, {-1000, 0}), "") << index;
  }
  EXPECT_EQ(At(kSamples).a, 64);  // a refused value changes nothing
}

TEST_F(ParamStoreTest, PopupsTakeOnlyTheirChoicesAndNeverTheSeparator) {
  EXPECT_NE(Refusal(kQuality, {5, 0}).find("separator"), std::string::npos);
  EXPECT_NE(Refusal(kMode, {3, 0}), "");
  EXPECT_NE(Refusal(kMode, {0, 0}), "");
  EXPECT_NE(Refusal(kMode, {1.5, 0}), "");
  EXPECT_EQ(Refusal(kQuality, {6, 0}), "");
  EXPECT_NE(Refusal(kUnmult, {2, 0}), "");
  EXPECT_NE(Refusal(2, {1, 0}), "");  // the version button has no value
  EXPECT_NE(Refusal(kLength, {std::nan(""), 0}), "");
}

TEST_F(ParamStoreTest, QualityAndViewCannotBeKeyframedEverythingElseCan) {
  for (int index : {kQuality, kView}) {
    EXPECT_THROW(Store().SetKeyframe(index, 1, {1, 0}), HostError) << index;
  }
  EXPECT_NO_THROW(Store().SetKeyframe(kLength, 1, {100, 0}));
  EXPECT_NO_THROW(Store().SetKeyframe(kMode, 1, {1, 0}));
  EXPECT_NO_THROW(Store().SetKeyframe(kPosition, 1, {10, 20}));
  EXPECT_NO_THROW(Store().SetKeyframe(kSpinAmount, 1, {45, 0}));
  EXPECT_NO_THROW(Store().SetKeyframe(kUnmult, 1, {0, 0}));
  EXPECT_THROW(Store().SetKeyframe(kLength, 1, {-1, 0}), HostError);
}

TEST_F(ParamStoreTest, SlidersPointsAndAnglesInterpolateLinearly) {
  Store().SetKeyframe(kLength, 0, {0, 0});
  Store().SetKeyframe(kLength, 2, {1000, 0});
  Store().SetKeyframe(kPosition, 0, {0, 100});
  Store().SetKeyframe(kPosition, 1, {100, 0});
  Store().SetKeyframe(kSpinAmount, 0, {0, 0});
  Store().SetKeyframe(kSpinAmount, 1, {90, 0});
  EXPECT_DOUBLE_EQ(At(kLength, 0.5).a, 250);
  EXPECT_DOUBLE_EQ(At(kLength, -1).a, 0);     // before the first key
  EXPECT_DOUBLE_EQ(At(kLength, 10).a, 1000);  // after the last
  EXPECT_DOUBLE_EQ(At(kPosition, 0.25).a, 25);
  EXPECT_DOUBLE_EQ(At(kPosition, 0.25).b, 75);
  EXPECT_EQ(CheckOut(kSpinAmount, 8).u.ad.value, std::lround(90.0 * 8 / 25 * 65536));
  // checkout_param reads the time in the command's own scale: 25 of 25 is one second.
  EXPECT_EQ(CheckOut(kLength, 25).u.fs_d.value, 500);
}

TEST_F(ParamStoreTest, PopupsAndCheckboxesHoldUntilTheNextKey) {
  Store().SetKeyframe(kDirection, 0, {1, 0});
  Store().SetKeyframe(kDirection, 1, {3, 0});
  Store().SetKeyframe(kUnmult, 0, {0, 0});
  Store().SetKeyframe(kUnmult, 1, {1, 0});
  EXPECT_EQ(At(kDirection, 0.99).a, 1);
  EXPECT_EQ(At(kDirection, 1).a, 3);
  EXPECT_EQ(At(kUnmult, 0.5).a, 0);
  EXPECT_EQ(CheckOut(kDirection, 24).u.pd.value, 1);
}

TEST_F(ParamStoreTest, SettingAValueReplacesTheKeyframes) {
  Store().SetKeyframe(kLength, 0, {0, 0});
  Store().SetKeyframe(kLength, 1, {100, 0});
  Store().Set(kLength, {42, 0});
  EXPECT_EQ(At(kLength, 0.5).a, 42);
}

TEST_F(ParamStoreTest, PointsReachTheEffectScaledByEachDownsampleFactor) {
  Store().Set(kPosition, {300, 100});
  host_.Layer().downsampleX = {1, 2};
  host_.Layer().downsampleY = {1, 4};
  const PF_ParamDef def = CheckOut(kPosition);
  EXPECT_EQ(def.u.td.x_value, 150 << 16);
  EXPECT_EQ(def.u.td.y_value, 25 << 16);
  EXPECT_EQ(At(kPosition).a, 300);  // the user's value stays in full-resolution pixels
}

TEST_F(ParamStoreTest, ControlsAreFoundByNameGroupAndIndex) {
  EXPECT_EQ(Store().Find("Length"), kLength);
  EXPECT_EQ(Store().Find("buffer expansion"), kExpansion);
  EXPECT_EQ(Store().Find("Style/Amount"), kSpinAmount);
  EXPECT_EQ(Store().Find("Chromatic Aberration/Amount"), kAberration);
  EXPECT_EQ(Store().Find("Quality/Quality"), kQuality);
  EXPECT_EQ(Store().Find("Compositing/Blend Mode"), kBlendMode);
  EXPECT_EQ(Store().Find("27"), kExpansion);
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
  ASSERT_EQ(inter.checkout_param(Ref(), kLength, 0, 1, 25, &a), PF_Err_NONE);
  ASSERT_EQ(inter.checkout_param(Ref(), kMode, 0, 1, 25, &b), PF_Err_NONE);
  EXPECT_EQ(host_.Checkouts().Outstanding(), 2);
  inter.checkin_param(Ref(), &a);
  EXPECT_EQ(host_.Checkouts().Outstanding(), 1);
  inter.checkin_param(Ref(), &a);  // a second check-in of the same definition
  EXPECT_EQ(host_.Checkouts().StrayCheckins(), 1);
  inter.checkin_param(Ref(), &b);
  EXPECT_EQ(host_.Checkouts().Outstanding(), 0);
  EXPECT_EQ(inter.checkout_param(Ref(), 41, 0, 1, 25, &a), PF_Err_INVALID_INDEX);
  EXPECT_EQ(inter.checkout_param(Ref(), kLength, 0, 1, 0, &a), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(host_.Checkouts().Outstanding(), 0);
}

TEST_F(ParamStoreTest, AUiUpdateMustKeepTheControlsKind) {
  const void* suite = nullptr;
  ASSERT_EQ(host_.Suites().Acquire(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, &suite), 0);
  const auto* utils = static_cast<const PF_ParamUtilsSuite3*>(suite);
  PF_ParamDef def = Store().DefinitionAt(kBlendMode, 0, host_.Layer());
  def.ui_flags |= PF_PUI_DISABLED;
  def.param_type = PF_Param_FLOAT_SLIDER;
  EXPECT_EQ(utils->PF_UpdateParamUI(Ref(), kBlendMode, &def), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_FALSE(Store().Disabled(kBlendMode));
  def.param_type = PF_Param_POPUP;
  EXPECT_EQ(utils->PF_UpdateParamUI(Ref(), kBlendMode, &def), PF_Err_NONE);
  EXPECT_TRUE(Store().Disabled(kBlendMode));
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
