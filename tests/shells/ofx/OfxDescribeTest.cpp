// The plug-in as a host sees it after describing it: its identity and capabilities, every
// parameter with its type, default, range, group and hint, instances in both contexts,
// every parameter taking a value, and the show/grey rules after Mode, Quality and View.
#include <gtest/gtest.h>

#include <cfloat>
#include <set>

#include "HostProblems.h"
#include "OfxTestSupport.h"
#include "Suites.h"
#include "core/controls/UiRules.h"

namespace solvane::ofx_host::test {
namespace {

struct ExpectedParam {
  const char* name;
  const char* type;
  const char* label;
  const char* parent;
  ControlIndex control;
  std::vector<double> defaults;  // empty for groups and buttons
  double min = -DBL_MAX, max = DBL_MAX;
  std::vector<std::string> options = {};
};

const std::vector<ExpectedParam>& Expected() {
  static const std::vector<ExpectedParam> params = {
      {"aboutGroup", kOfxParamTypeGroup, "About", "", kParamAboutGroup, {}},
      {"about", kOfxParamTypePushButton, "About", "aboutGroup", kParamVersion, {}},
      {"mode", kOfxParamTypeChoice, "Mode", "", kParamMode, {1}, 0, 0, {"Spin", "Zoom"}},
      {"position", kOfxParamTypeDouble2D, "Position", "", kParamPosition, {0.5, 0.5}},
      {"inputGroup", kOfxParamTypeGroup, "Input", "", kParamInputGroup, {}},
      {"thresholdMode",
       kOfxParamTypeChoice,
       "Threshold Mode",
       "inputGroup",
       kParamThresholdMode,
       {0},
       0,
       0,
       {"Luma", "Chroma"}},
      {"threshold", kOfxParamTypeDouble, "Threshold", "inputGroup", kParamThreshold, {0}, 0, 1000},
      {"thresholdSmooth",
       kOfxParamTypeDouble,
       "Threshold Smooth",
       "inputGroup",
       kParamThresholdSmooth,
       {50},
       0,
       100},
      {"styleGroup", kOfxParamTypeGroup, "Style", "", kParamStyleGroup, {}},
      {"length", kOfxParamTypeDouble, "Length", "styleGroup", kParamLength, {2000}, 0, 10000},
      {"spinAmount", kOfxParamTypeDouble, "Amount", "styleGroup", kParamSpinAmount, {30}},
      {"exposure", kOfxParamTypeDouble, "Exposure", "styleGroup", kParamExposure, {5}, 0, 20},
      {"decay", kOfxParamTypeDouble, "Decay", "styleGroup", kParamDecay, {1}, 0, 10},
      {"direction",
       kOfxParamTypeChoice,
       "Direction",
       "styleGroup",
       kParamDirection,
       {0},
       0,
       0,
       {"Out", "In", "In & Out"}},
      {"aberrationGroup",
       kOfxParamTypeGroup,
       "Chromatic Aberration",
       "styleGroup",
       kParamAberrationGroup,
       {}},
      {"aberrationAmount",
       kOfxParamTypeDouble,
       "Amount",
       "aberrationGroup",
       kParamAberrationAmount,
       {0},
       -200,
       200},
      {"channels",
       kOfxParamTypeChoice,
       "Channels",
       "aberrationGroup",
       kParamChannels,
       {0},
       0,
       0,
       {"Red & Blue", "Red & Green", "Green & Blue"}},
      {"qualityGroup", kOfxParamTypeGroup, "Quality", "", kParamQualityGroup, {}},
      {"quality",
       kOfxParamTypeChoice,
       "Quality",
       "qualityGroup",
       kParamQuality,
       {1},
       0,
       0,
       {"Draft", "Moderate", "High", "Extreme", "Custom"}},
      {"samples", kOfxParamTypeInteger, "Samples", "qualityGroup", kParamSamples, {64}, 1, 5000},
      {"noise", kOfxParamTypeDouble, "Noise", "qualityGroup", kParamNoise, {100}, 0, 1000},
      {"repeatEdges", kOfxParamTypeBoolean, "Repeat Edges", "qualityGroup", kParamRepeatEdges, {1}},
      {"bufferExpansion",
       kOfxParamTypeDouble,
       "Buffer Expansion",
       "qualityGroup",
       kParamBufferExpansion,
       {0},
       0,
       1000},
      {"compositingGroup", kOfxParamTypeGroup, "Compositing", "", kParamCompositingGroup, {}},
      {"inputOpacity",
       kOfxParamTypeDouble,
       "Input Opacity",
       "compositingGroup",
       kParamInputOpacity,
       {100},
       0,
       100},
      {"blendMode",
       kOfxParamTypeChoice,
       "Blend Mode",
       "compositingGroup",
       kParamBlendMode,
       {0},
       0,
       0,
       {"Screen", "Add"}},
      {"unmult", kOfxParamTypeBoolean, "Unmult", "compositingGroup", kParamUnmult, {1}},
      {"view",
       kOfxParamTypeChoice,
       "View",
       "compositingGroup",
       kParamView,
       {2},
       0,
       0,
       {"Input (Processed)", "Rays Solo", "Final Composite"}},
  };
  return params;
}

using DescribeTest = PluginTest;

TEST_F(DescribeTest, PluginIdentityAndCapabilities) {
  const OfxPlugin& plugin = host_->Plugin();
  EXPECT_STREQ(plugin.pluginIdentifier, "com.brindel.solvane");
  EXPECT_EQ(plugin.pluginVersionMajor, 1u);
  EXPECT_EQ(plugin.pluginVersionMinor, 0u);
  const PropertySet& p = host_->Descriptor().Props();
  EXPECT_EQ(p.String(kOfxPropLabel), "Brindel's Solvane");
  EXPECT_EQ(p.String(kOfxImageEffectPluginPropGrouping), "Orvanta");
  EXPECT_EQ(p.Ints(kOfxPropVersion).at(0), 1);
  EXPECT_EQ(p.Ints(kOfxPropVersion).at(1), 0);
  EXPECT_EQ(
      p.Strings(kOfxImageEffectPropSupportedContexts),
      (std::vector<std::string>{kOfxImageEffectContextFilter, kOfxImageEffectContextGeneral}));
  EXPECT_EQ(p.Strings(kOfxImageEffectPropSupportedPixelDepths),
            (std::vector<std::string>{kOfxBitDepthByte, kOfxBitDepthFloat}));
  EXPECT_EQ(p.Int(kOfxImageEffectPropSupportsTiles), 0);
  EXPECT_EQ(p.Int(kOfxImageEffectPropSupportsMultiResolution), 1);
  EXPECT_EQ(p.Int(kOfxImageEffectPropSupportsMultipleClipDepths), 0);
  EXPECT_EQ(p.String(kOfxImageEffectPluginRenderThreadSafety), kOfxImageEffectRenderFullySafe);
  EXPECT_EQ(p.Int(kOfxImageEffectPluginPropHostFrameThreading), 0);
  // Written by the plug-in, not left at the host's defaults.
  for (const char* name :
       {kOfxPropLabel, kOfxImageEffectPluginPropGrouping, kOfxImageEffectPluginRenderThreadSafety,
        kOfxImageEffectPropSupportsTiles}) {
    EXPECT_EQ(p.WrittenByPlugin().count(name), 1u) << name;
  }
}

TEST_F(DescribeTest, BothContextsHaveRgbaSourceAndOutputClips) {
  for (const char* context : {kOfxImageEffectContextFilter, kOfxImageEffectContextGeneral}) {
    const Effect& described = host_->ContextDescriptor(context);
    ASSERT_EQ(described.Clips().size(), 2u) << context;
    for (const char* name : {kOfxImageEffectSimpleSourceClipName, kOfxImageEffectOutputClipName}) {
      const Clip* clip = described.FindClip(name);
      ASSERT_NE(clip, nullptr) << context << " " << name;
      EXPECT_EQ(clip->Props().Strings(kOfxImageEffectPropSupportedComponents),
                std::vector<std::string>{kOfxImageComponentRGBA});
    }
  }
}

TEST_F(DescribeTest, EveryParameterWithTypeDefaultRangeGroupAndHint) {
  for (const char* context : {kOfxImageEffectContextFilter, kOfxImageEffectContextGeneral}) {
    const ParamSet& params = host_->ContextDescriptor(context).Params();
    std::vector<std::string> names;
    for (const auto& param : params.Params()) names.push_back(param->Name());
    std::vector<std::string> expectedNames;
    for (const ExpectedParam& e : Expected()) expectedNames.push_back(e.name);
    EXPECT_EQ(names, expectedNames) << context;
    for (const ExpectedParam& e : Expected()) {
      SCOPED_TRACE(e.name);
      const Param* param = params.Find(e.name);
      ASSERT_NE(param, nullptr);
      const PropertySet& p = param->Props();
      EXPECT_EQ(param->Type(), e.type);
      EXPECT_EQ(p.String(kOfxPropLabel), e.label);
      EXPECT_EQ(p.String(kOfxParamPropParent), e.parent);
      if (param->Type() != kOfxParamTypeGroup) {
        EXPECT_FALSE(p.String(kOfxParamPropHint).empty());
      }
      if (e.defaults.empty()) continue;
      const bool ints = param->Info().kind == ValueKind::kInt;
      for (size_t i = 0; i < e.defaults.size(); ++i) {
        EXPECT_EQ(
            ints ? p.Int(kOfxParamPropDefault, int(i)) : p.Double(kOfxParamPropDefault, int(i)),
            e.defaults[i]);
      }
      if (!e.options.empty()) {
        EXPECT_EQ(p.Strings(kOfxParamPropChoiceOption), e.options);
      }
      if (e.options.empty() && e.min != -DBL_MAX) {
        EXPECT_EQ(ints ? p.Int(kOfxParamPropMin) : p.Double(kOfxParamPropMin), e.min);
        EXPECT_EQ(ints ? p.Int(kOfxParamPropMax) : p.Double(kOfxParamPropMax), e.max);
      }
    }
  }
}

TEST_F(DescribeTest, SpinAmountIsAnAngleAndPositionANormalisedAbsolutePoint) {
  const ParamSet& params = host_->ContextDescriptor(kOfxImageEffectContextFilter).Params();
  EXPECT_EQ(params.At("spinAmount").Props().String(kOfxParamPropDoubleType),
            kOfxParamDoubleTypeAngle);
  const PropertySet& position = params.At("position").Props();
  EXPECT_EQ(position.String(kOfxParamPropDoubleType), kOfxParamDoubleTypeXYAbsolute);
  EXPECT_EQ(position.String(kOfxParamPropDefaultCoordinateSystem), kOfxParamCoordinatesNormalised);
}

TEST_F(DescribeTest, InstancesInBothContextsStartAtTheDefaultsWithPositionAtTheCentre) {
  for (const char* context : {kOfxImageEffectContextFilter, kOfxImageEffectContextGeneral}) {
    std::unique_ptr<Instance> instance = MakeInstance(context);
    ASSERT_NE(instance, nullptr) << context;
    EXPECT_EQ(instance->ParamAt("position").Numbers(),
              (std::vector<double>{kWidth / 2.0, kHeight / 2.0}));
    EXPECT_EQ(instance->ParamAt("mode").Numbers(), std::vector<double>{1});
    EXPECT_EQ(instance->ParamAt("samples").Numbers(), std::vector<double>{64});
  }
}

// Every parameter with a value takes one as a user's edit, and every edit is answered.
TEST_F(DescribeTest, EveryParameterCanBeSetAndTheButtonPressed) {
  std::unique_ptr<Instance> instance = MakeInstance();
  ASSERT_NE(instance, nullptr);
  for (const ExpectedParam& e : Expected()) {
    if (e.defaults.empty()) continue;
    std::vector<double> value = e.defaults;
    value[0] = e.options.empty() ? value[0] + 1 : double(e.options.size() - 1);
    if (std::string(e.type) == kOfxParamTypeBoolean) value[0] = 1 - e.defaults[0];
    EXPECT_EQ(instance->SetParam(e.name, value), kOfxStatOK) << e.name;
  }
  Ledger::Get().ClearMessages();
  EXPECT_EQ(instance->PressButton("about"), kOfxStatOK);
  const std::vector<HostMessage> messages = Ledger::Get().Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].text.find("Brindel's Solvane"), std::string::npos) << messages[0].text;
  EXPECT_EQ(messages[0].effect, instance->Handle());
}

// The instance's secret and enabled flags follow the effect's own rules for every value
// of Mode, Quality and View, on creation and after each change.
TEST_F(DescribeTest, ShowAndGreyRulesFollowModeQualityAndView) {
  std::unique_ptr<Instance> instance = MakeInstance();
  ASSERT_NE(instance, nullptr);
  const auto expectRules = [&](int mode, int quality, int view) {
    // Choice options are the popups' items in order, the quality menu's separator left out.
    const int qualityItem = quality == 4 ? kQualityCustom : quality + 1;
    const UiState ui = UiRules(mode + 1, qualityItem, view + 1);
    for (const ExpectedParam& e : Expected()) {
      const PropertySet& p = instance->ParamAt(e.name).Props();
      EXPECT_EQ(p.Int(kOfxParamPropSecret), ui[e.control].hidden ? 1 : 0)
          << e.name << " mode " << mode << " quality " << quality << " view " << view;
      EXPECT_EQ(p.Int(kOfxParamPropEnabled), ui[e.control].disabled ? 0 : 1)
          << e.name << " mode " << mode << " quality " << quality << " view " << view;
    }
  };
  expectRules(1, 1, 2);
  for (int mode = 0; mode < 2; ++mode) {
    ASSERT_EQ(instance->SetParam("mode", {double(mode)}), kOfxStatOK);
    for (int quality = 0; quality < 5; ++quality) {
      ASSERT_EQ(instance->SetParam("quality", {double(quality)}), kOfxStatOK);
      for (int view = 0; view < 3; ++view) {
        ASSERT_EQ(instance->SetParam("view", {double(view)}), kOfxStatOK);
        expectRules(mode, quality, view);
      }
    }
  }
}

// What every test's tear-down relies on: an image or a memory block the plug-in keeps, and
// a release of something it does not hold, are found (here made through the suites as
// the plug-in would make them).
TEST_F(DescribeTest, TheHostFindsWhatThePluginKeepsOrReleasesWrongly) {
  std::unique_ptr<Instance> instance = MakeInstance();
  ASSERT_NE(instance, nullptr);
  instance->SetSource(std::make_shared<HostImage>(ImageLayout{{0, 0, 4, 4}, Depth::kByte}));
  OfxImageClipHandle clip = nullptr;
  ASSERT_EQ(ImageEffectSuite().clipGetHandle(instance->Handle(),
                                             kOfxImageEffectSimpleSourceClipName, &clip, nullptr),
            kOfxStatOK);
  OfxPropertySetHandle image = nullptr;
  ASSERT_EQ(ImageEffectSuite().clipGetImage(clip, 0, nullptr, &image), kOfxStatOK);
  void* block = nullptr;
  ASSERT_EQ(MemorySuite().memoryAlloc(nullptr, 64, &block), kOfxStatOK);
  const std::vector<std::string> held = HostProblems(*host_, start_);
  EXPECT_EQ(held, (std::vector<std::string>{"1 images not given back",
                                            "1 memory blocks not given back"}));
  EXPECT_EQ(ImageEffectSuite().clipReleaseImage(image), kOfxStatOK);
  EXPECT_EQ(ImageEffectSuite().clipReleaseImage(image), kOfxStatErrBadHandle);
  EXPECT_EQ(MemorySuite().memoryFree(block), kOfxStatOK);
  // The output clip has no image outside a render.
  ASSERT_EQ(ImageEffectSuite().clipGetHandle(instance->Handle(), kOfxImageEffectOutputClipName,
                                             &clip, nullptr),
            kOfxStatOK);
  EXPECT_EQ(ImageEffectSuite().clipGetImage(clip, 0, nullptr, &image), kOfxStatFailed);
  EXPECT_EQ(Ledger::Get().Misuses().size(), 2u);
  Ledger::Get().ClearMisuses();
}

}  // namespace
}  // namespace solvane::ofx_host::test
