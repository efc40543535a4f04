// Controls that hide, show and grey out with "Mode", "Quality" and "View", driven through
// the stand-in host with the real module.
#include <gtest/gtest.h>

#include "AE_EffectSuites.h"
#include "AE_GeneralPlug.h"
#include "host/Host.h"

namespace {

using solvane::host::Host;
using solvane::host::ParamStore;

constexpr int kMode = 4, kLength = 12, kSpinAmount = 13, kDirection = 16, kQuality = 23,
              kSamples = 24, kNoise = 25, kInputOpacity = 30, kBlendMode = 31, kUnmult = 32,
              kView = 33, kDebug = 35;

class ParamInteraction : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(host_.ParamsSetup(), PF_Err_NONE); }
  void TearDown() override {
    if (expectAllDisposed_) EXPECT_TRUE(host_.Aegp().Undisposed().empty());
    EXPECT_TRUE(host_.Suites().Unbalanced().empty());
  }
  ParamStore& Params() { return host_.Params(); }
  PF_Err ChangeMode(double mode) {
    Params().Set(kMode, {mode, 0});
    return host_.UserChangedParam(kMode);
  }

  Host host_{SOLVANE_MODULE_PATH};
  bool expectAllDisposed_ = true;
};

TEST_F(ParamInteraction, ANewInstanceShowsTheZoomControls) {
  EXPECT_TRUE(Params().Hidden(kSpinAmount));
  EXPECT_FALSE(Params().Hidden(kLength));
  EXPECT_FALSE(Params().Hidden(kDirection));
}

TEST_F(ParamInteraction, ModeSwapsSpinAndZoomControlsBothWays) {
  ASSERT_EQ(ChangeMode(1), PF_Err_NONE);
  EXPECT_FALSE(Params().Hidden(kSpinAmount));
  EXPECT_TRUE(Params().Hidden(kLength));
  EXPECT_TRUE(Params().Hidden(kDirection));
  ASSERT_EQ(ChangeMode(2), PF_Err_NONE);
  EXPECT_TRUE(Params().Hidden(kSpinAmount));
  EXPECT_FALSE(Params().Hidden(kLength));
  EXPECT_FALSE(Params().Hidden(kDirection));
  // Each change obtains one effect handle and one stream per control, all given back.
  EXPECT_EQ(host_.Aegp().Obtained(), 8);
  EXPECT_EQ(host_.Log().Count("AEGP_DisposeStream"), 6u);
  EXPECT_EQ(host_.Log().Count("AEGP_DisposeEffect"), 2u);
}

TEST_F(ParamInteraction, OtherSupervisedOrUnsupervisedChangesTouchNothing) {
  EXPECT_EQ(host_.UserChangedParam(kQuality), PF_Err_NONE);
  EXPECT_EQ(host_.Log().Count("AEGP_GetNewEffectForEffect"), 0u);
}

TEST_F(ParamInteraction, QualityCustomShowsSamplesAndNoiseAndOthersHideThem) {
  ASSERT_EQ(host_.UpdateParamsUI(), PF_Err_NONE);
  EXPECT_TRUE(Params().Hidden(kSamples));
  EXPECT_TRUE(Params().Hidden(kNoise));
  Params().Set(kQuality, {6, 0});
  ASSERT_EQ(host_.UpdateParamsUI(), PF_Err_NONE);
  EXPECT_FALSE(Params().Hidden(kSamples));
  EXPECT_FALSE(Params().Hidden(kNoise));
  for (double q : {1.0, 3.0, 4.0}) {
    Params().Set(kQuality, {q, 0});
    ASSERT_EQ(host_.UpdateParamsUI(), PF_Err_NONE);
    EXPECT_TRUE(Params().Hidden(kSamples)) << q;
    EXPECT_TRUE(Params().Hidden(kNoise)) << q;
  }
}

TEST_F(ParamInteraction, ViewGreysOutTheCompositingControlsUnlessFinalComposite) {
  for (double view : {1.0, 2.0}) {
    Params().Set(kView, {view, 0});
    ASSERT_EQ(host_.UpdateParamsUI(), PF_Err_NONE);
    for (int i : {kInputOpacity, kBlendMode, kUnmult}) EXPECT_TRUE(Params().Disabled(i)) << i;
  }
  Params().Set(kView, {3, 0});
  ASSERT_EQ(host_.UpdateParamsUI(), PF_Err_NONE);
  for (int i : {kInputOpacity, kBlendMode, kUnmult}) EXPECT_FALSE(Params().Disabled(i)) << i;
  EXPECT_EQ(host_.Log().Count("PF_UpdateParamUI"), 9u);
}

TEST_F(ParamInteraction, TheDebugGroupIsHiddenWithItsControls) {
  EXPECT_FALSE(Params().Hidden(kDebug));
  ASSERT_EQ(host_.UpdateParamsUI(), PF_Err_NONE);
  EXPECT_TRUE(Params().Hidden(kDebug));
  for (int i = 36; i <= 39; ++i) EXPECT_TRUE(Params().HiddenByGroup(i)) << i;
  Params().Set(kQuality, {6, 0});
  ASSERT_EQ(host_.UpdateParamsUI(), PF_Err_NONE);
  EXPECT_TRUE(Params().Hidden(kDebug));
}

TEST_F(ParamInteraction, NoEffectHandleChangesNothingAndReturnsTheError) {
  host_.Faults().Fail("AEGP_GetNewEffectForEffect", 0, A_Err_GENERIC);
  Params().Set(kView, {2, 0});
  Params().Set(kQuality, {6, 0});
  EXPECT_EQ(host_.UpdateParamsUI(), A_Err_GENERIC);
  EXPECT_EQ(ChangeMode(1), A_Err_GENERIC);
  EXPECT_FALSE(Params().Disabled(kInputOpacity));
  EXPECT_FALSE(Params().Hidden(kSamples));
  EXPECT_TRUE(Params().Hidden(kSpinAmount));
  EXPECT_EQ(host_.Log().Count("PF_UpdateParamUI"), 0u);
  EXPECT_EQ(host_.Log().Count("AEGP_GetNewEffectStreamByIndex"), 0u);
  EXPECT_EQ(host_.Log().Count("AEGP_DisposeEffect"), 0u);
}

TEST_F(ParamInteraction, AFailingStepStopsTheRestButTheHandlesAreStillDisposed) {
  host_.Faults().Fail("AEGP_SetDynamicStreamFlag", 2, PF_Err_OUT_OF_MEMORY);
  EXPECT_EQ(ChangeMode(1), PF_Err_OUT_OF_MEMORY);
  EXPECT_FALSE(Params().Hidden(kSpinAmount));  // the first step ran
  EXPECT_FALSE(Params().Hidden(kLength));      // the second failed
  EXPECT_FALSE(Params().Hidden(kDirection));   // the third never ran
  EXPECT_EQ(host_.Log().Count("AEGP_GetNewEffectStreamByIndex"), 2u);
  EXPECT_EQ(host_.Log().Count("AEGP_DisposeStream"), 2u);
  EXPECT_EQ(host_.Log().Count("AEGP_DisposeEffect"), 1u);
}

TEST_F(ParamInteraction, AFailingUiUpdateStopsBeforeTheStreams) {
  host_.Faults().Fail("PF_UpdateParamUI", 2, PF_Err_INTERNAL_STRUCT_DAMAGED);
  Params().Set(kView, {1, 0});
  EXPECT_EQ(host_.UpdateParamsUI(), PF_Err_INTERNAL_STRUCT_DAMAGED);
  EXPECT_TRUE(Params().Disabled(kInputOpacity));
  EXPECT_FALSE(Params().Disabled(kBlendMode));
  EXPECT_EQ(host_.Log().Count("PF_UpdateParamUI"), 2u);
  EXPECT_EQ(host_.Log().Count("AEGP_GetNewEffectStreamByIndex"), 0u);
  EXPECT_EQ(host_.Log().Count("AEGP_DisposeEffect"), 1u);
}

TEST_F(ParamInteraction, AFailingDisposalIsReturnedAndTheHostReportsTheHandle) {
  host_.Faults().Fail("AEGP_DisposeEffect", 1, A_Err_PARAMETER);
  EXPECT_EQ(ChangeMode(1), A_Err_PARAMETER);
  EXPECT_FALSE(Params().Hidden(kSpinAmount));  // the steps before the disposal ran
  ASSERT_EQ(host_.Aegp().Undisposed().size(), 1u);
  EXPECT_EQ(host_.Aegp().Undisposed()[0], "effect handle 1");
  expectAllDisposed_ = false;
}

TEST_F(ParamInteraction, AMissingSuiteIsReturnedAsBadCallbackAndTheEffectHandleGoesBack) {
  host_.Suites().Withhold(kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion2);
  EXPECT_EQ(ChangeMode(1), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(host_.Log().Count("AEGP_DisposeStream"), 1u);
  EXPECT_EQ(host_.Log().Count("AEGP_DisposeEffect"), 1u);
}

TEST_F(ParamInteraction, TheHandlersSetNoOutFlags) {
  PF_OutData out{};
  Params().Set(kView, {2, 0});
  // Send UPDATE_PARAMS_UI by hand to see its out_data.
  std::vector<PF_ParamDef> defs(41);
  std::vector<PF_ParamDef*> list;
  for (int i = 0; i <= 40; ++i) {
    if (i > 0) defs[i] = Params().DefinitionAt(i, 0, host_.Layer());
    list.push_back(&defs[i]);
  }
  ASSERT_EQ(host_.Send(PF_Cmd_UPDATE_PARAMS_UI, &out, list.data()), PF_Err_NONE);
  EXPECT_EQ(out.out_flags, 0);
  EXPECT_EQ(defs[kView].u.pd.value, 2);  // the effect changed no value
}

}  // namespace
