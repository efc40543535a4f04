// Controls that hide, show and grey out with "Mode", "Quality" and "View", driven through
// the stand-in host with the real module.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AE_EffectSuites.h"
#include "AE_GeneralPlug.h"
#include "host/Host.h"
#include "core/controls/ControlTable.h"

namespace solvane {
namespace {

using host::Host;
using host::ParamStore;

class ParamInteraction : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(host_.ParamsSetup(), PF_Err_NONE); }
  void TearDown() override {
    if (expectAllDisposed_) {
      EXPECT_TRUE(host_.Aegp().Undisposed().empty());
    }
    EXPECT_TRUE(host_.Suites().Unbalanced().empty());
  }
  ParamStore& Params() { return host_.Params(); }
  // The host calls made after the first call named `failed`, suite bookkeeping left out.
  std::vector<std::string> CallsAfter(const std::string& failed) {
    const std::vector<std::string> calls = host_.Log().Calls();
    std::vector<std::string> after;
    bool seen = false;
    for (const std::string& call : calls) {
      if (seen && call.rfind("AcquireSuite ", 0) != 0 && call.rfind("ReleaseSuite ", 0) != 0) {
        after.push_back(call);
      }
      seen = seen || call == failed;
    }
    return after;
  }
  PF_Err ChangeMode(double mode) {
    Params().Set(kParamMode, {mode, 0});
    return host_.UserChangedParam(kParamMode);
  }

  Host host_{SOLVANE_MODULE_PATH};
  bool expectAllDisposed_ = true;
};

TEST_F(ParamInteraction, ANewInstanceShowsTheZoomControls) {
  EXPECT_TRUE(Params().Hidden(kParamSpinAmount));
  EXPECT_FALSE(Params().Hidden(kParamLength));
  EXPECT_FALSE(Params().Hidden(kParamDirection));
}

TEST_F(ParamInteraction, ModeSwapsSpinAndZoomControlsBothWays) {
  ASSERT_EQ(ChangeMode(kModeSpin), PF_Err_NONE);
  EXPECT_FALSE(Params().Hidden(kParamSpinAmount));
  EXPECT_TRUE(Params().Hidden(kParamLength));
  EXPECT_TRUE(Params().Hidden(kParamDirection));
  ASSERT_EQ(ChangeMode(kModeZoom), PF_Err_NONE);
  EXPECT_TRUE(Params().Hidden(kParamSpinAmount));
  EXPECT_FALSE(Params().Hidden(kParamLength));
  EXPECT_FALSE(Params().Hidden(kParamDirection));
  // Each change obtains one effect handle and one stream per control, all given back.
  EXPECT_EQ(host_.Aegp().Obtained(), 8);
  EXPECT_EQ(host_.Log().Count("AEGP_DisposeStream"), 6u);
  EXPECT_EQ(host_.Log().Count("AEGP_DisposeEffect"), 2u);
}

TEST_F(ParamInteraction, OtherSupervisedOrUnsupervisedChangesTouchNothing) {
  EXPECT_EQ(host_.UserChangedParam(kParamQuality), PF_Err_NONE);
  EXPECT_EQ(host_.Log().Count("AEGP_GetNewEffectForEffect"), 0u);
}

TEST_F(ParamInteraction, QualityCustomShowsSamplesAndNoiseAndOthersHideThem) {
  ASSERT_EQ(host_.UpdateParamsUI(), PF_Err_NONE);
  EXPECT_TRUE(Params().Hidden(kParamSamples));
  EXPECT_TRUE(Params().Hidden(kParamNoise));
  Params().Set(kParamQuality, {kQualityCustom, 0});
  ASSERT_EQ(host_.UpdateParamsUI(), PF_Err_NONE);
  EXPECT_FALSE(Params().Hidden(kParamSamples));
  EXPECT_FALSE(Params().Hidden(kParamNoise));
  for (double q : {1.0, 3.0, 4.0}) {
    Params().Set(kParamQuality, {q, 0});
    ASSERT_EQ(host_.UpdateParamsUI(), PF_Err_NONE);
    EXPECT_TRUE(Params().Hidden(kParamSamples)) << q;
    EXPECT_TRUE(Params().Hidden(kParamNoise)) << q;
  }
}

TEST_F(ParamInteraction, ViewGreysOutTheCompositingControlsUnlessFinalComposite) {
  for (double view : {kViewInput, kViewRaysSolo}) {
    Params().Set(kParamView, {view, 0});
    ASSERT_EQ(host_.UpdateParamsUI(), PF_Err_NONE);
    for (int i : {kParamInputOpacity, kParamBlendMode, kParamUnmult})
      EXPECT_TRUE(Params().Disabled(i)) << i;
  }
  Params().Set(kParamView, {kViewFinalComposite, 0});
  ASSERT_EQ(host_.UpdateParamsUI(), PF_Err_NONE);
  for (int i : {kParamInputOpacity, kParamBlendMode, kParamUnmult})
    EXPECT_FALSE(Params().Disabled(i)) << i;
  EXPECT_EQ(host_.Log().Count("PF_UpdateParamUI"), 9u);
}

TEST_F(ParamInteraction, TheDebugGroupIsHiddenWithItsControls) {
  EXPECT_FALSE(Params().Hidden(kParamDebugGroup));
  ASSERT_EQ(host_.UpdateParamsUI(), PF_Err_NONE);
  EXPECT_TRUE(Params().Hidden(kParamDebugGroup));
  for (int i = kParamDebugLeft; i <= kParamDebugBottom; ++i)
    EXPECT_TRUE(Params().HiddenByGroup(i)) << i;
  Params().Set(kParamQuality, {kQualityCustom, 0});
  ASSERT_EQ(host_.UpdateParamsUI(), PF_Err_NONE);
  EXPECT_TRUE(Params().Hidden(kParamDebugGroup));
}

TEST_F(ParamInteraction, NoEffectHandleChangesNothingAndReturnsTheError) {
  host_.Faults().Fail("AEGP_GetNewEffectForEffect", 0, A_Err_GENERIC);
  Params().Set(kParamView, {kViewRaysSolo, 0});
  Params().Set(kParamQuality, {kQualityCustom, 0});
  EXPECT_EQ(host_.UpdateParamsUI(), A_Err_GENERIC);
  EXPECT_EQ(ChangeMode(kModeSpin), A_Err_GENERIC);
  EXPECT_FALSE(Params().Disabled(kParamInputOpacity));
  EXPECT_FALSE(Params().Hidden(kParamSamples));
  EXPECT_TRUE(Params().Hidden(kParamSpinAmount));
  EXPECT_EQ(host_.Log().Count("PF_UpdateParamUI"), 0u);
  EXPECT_EQ(host_.Log().Count("AEGP_GetNewEffectStreamByIndex"), 0u);
  EXPECT_EQ(host_.Log().Count("AEGP_DisposeEffect"), 0u);
}

TEST_F(ParamInteraction, AFailingStepStopsTheRestButTheHandlesAreStillDisposed) {
  host_.Faults().Fail("AEGP_SetDynamicStreamFlag", 2, PF_Err_OUT_OF_MEMORY);
  EXPECT_EQ(ChangeMode(kModeSpin), PF_Err_OUT_OF_MEMORY);
  EXPECT_FALSE(Params().Hidden(kParamSpinAmount));  // the first step ran
  EXPECT_FALSE(Params().Hidden(kParamLength));      // the second failed
  EXPECT_FALSE(Params().Hidden(kParamDirection));   // the third never ran
  EXPECT_EQ(host_.Log().Count("AEGP_GetNewEffectStreamByIndex"), 2u);
  EXPECT_EQ(host_.Log().Count("AEGP_DisposeStream"), 2u);
  EXPECT_EQ(host_.Log().Count("AEGP_DisposeEffect"), 1u);
}

// A failed host call is followed by no other step: only the handles already obtained are
// given back, innermost first.
TEST_F(ParamInteraction, AFailedCallIsFollowedOnlyByTheDisposalOfWhatWasObtained) {
  using Calls = std::vector<std::string>;
  host_.Faults().Fail("AEGP_SetDynamicStreamFlag", 1, PF_Err_OUT_OF_MEMORY);
  EXPECT_EQ(ChangeMode(kModeSpin), PF_Err_OUT_OF_MEMORY);
  EXPECT_EQ(CallsAfter("AEGP_SetDynamicStreamFlag"),
            (Calls{"AEGP_DisposeStream", "AEGP_DisposeEffect"}));

  host_.Log().Clear();
  host_.Faults().Fail("AEGP_GetNewEffectStreamByIndex", 1, A_Err_PARAMETER);
  EXPECT_EQ(host_.UpdateParamsUI(), A_Err_PARAMETER);
  EXPECT_EQ(CallsAfter("AEGP_GetNewEffectStreamByIndex"), Calls{"AEGP_DisposeEffect"});

  host_.Log().Clear();
  host_.Faults().Fail("AEGP_DisposeStream", 1, A_Err_PARAMETER);
  EXPECT_EQ(ChangeMode(kModeZoom), A_Err_PARAMETER);
  EXPECT_EQ(CallsAfter("AEGP_DisposeStream"), Calls{"AEGP_DisposeEffect"});
  expectAllDisposed_ = false;  // the refused disposal leaves the stream with the host
}

TEST_F(ParamInteraction, AFailingUiUpdateStopsBeforeTheStreams) {
  host_.Faults().Fail("PF_UpdateParamUI", 2, PF_Err_INTERNAL_STRUCT_DAMAGED);
  Params().Set(kParamView, {kViewInput, 0});
  EXPECT_EQ(host_.UpdateParamsUI(), PF_Err_INTERNAL_STRUCT_DAMAGED);
  EXPECT_TRUE(Params().Disabled(kParamInputOpacity));
  EXPECT_FALSE(Params().Disabled(kParamBlendMode));
  EXPECT_EQ(host_.Log().Count("PF_UpdateParamUI"), 2u);
  EXPECT_EQ(host_.Log().Count("AEGP_GetNewEffectStreamByIndex"), 0u);
  EXPECT_EQ(host_.Log().Count("AEGP_DisposeEffect"), 1u);
}

TEST_F(ParamInteraction, AFailingDisposalIsReturnedAndTheHostReportsTheHandle) {
  host_.Faults().Fail("AEGP_DisposeEffect", 1, A_Err_PARAMETER);
  EXPECT_EQ(ChangeMode(kModeSpin), A_Err_PARAMETER);
  EXPECT_FALSE(Params().Hidden(kParamSpinAmount));  // the steps before the disposal ran
  ASSERT_EQ(host_.Aegp().Undisposed().size(), 1u);
  EXPECT_EQ(host_.Aegp().Undisposed()[0], "effect handle 1");
  expectAllDisposed_ = false;
}

TEST_F(ParamInteraction, AMissingSuiteIsReturnedAsBadCallbackAndTheEffectHandleGoesBack) {
  host_.Suites().Withhold(kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion2);
  EXPECT_EQ(ChangeMode(kModeSpin), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(host_.Log().Count("AEGP_DisposeStream"), 1u);
  EXPECT_EQ(host_.Log().Count("AEGP_DisposeEffect"), 1u);
}

TEST_F(ParamInteraction, TheHandlersSetNoOutFlags) {
  PF_OutData out{};
  Params().Set(kParamView, {kViewRaysSolo, 0});
  // Send UPDATE_PARAMS_UI by hand to see its out_data.
  std::vector<PF_ParamDef> defs(kParamCount);
  std::vector<PF_ParamDef*> list;
  for (int i = 0; i < kParamCount; ++i) {
    if (i > 0) defs[i] = Params().DefinitionAt(i, 0, host_.Layer());
    list.push_back(&defs[i]);
  }
  ASSERT_EQ(host_.Send(PF_Cmd_UPDATE_PARAMS_UI, &out, list.data()), PF_Err_NONE);
  EXPECT_EQ(out.out_flags, 0);
  EXPECT_EQ(defs[kParamView].u.pd.value, 2);  // the effect changed no value
}

}  // namespace
}  // namespace solvane
