// The effect's 40 controls, one row each, in host order. Registration walks this table and
// the render reads values by the indices below, so the table is the one place a control's
// kind, name, id, range, default and flags are written down.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "params/ControlChoices.h"
#include "plugin/HostApi.h"

namespace solvane {

// Host indices of the controls; 0 is the layer input the host supplies.
enum ParamIndex : PF_ParamIndex {
  kParamInput = 0,
  kParamAboutGroup = 1,
  kParamVersion = 2,
  kParamAboutEnd = 3,
  kParamMode = 4,
  kParamPosition = 5,
  kParamInputGroup = 6,
  kParamThresholdMode = 7,
  kParamThreshold = 8,
  kParamThresholdSmooth = 9,
  kParamInputEnd = 10,
  kParamStyleGroup = 11,
  kParamLength = 12,
  kParamSpinAmount = 13,
  kParamExposure = 14,
  kParamDecay = 15,
  kParamDirection = 16,
  kParamAberrationGroup = 17,
  kParamAberrationAmount = 18,
  kParamChannels = 19,
  kParamAberrationEnd = 20,
  kParamStyleEnd = 21,
  kParamQualityGroup = 22,
  kParamQuality = 23,
  kParamSamples = 24,
  kParamNoise = 25,
  kParamRepeatEdges = 26,
  kParamBufferExpansion = 27,
  kParamQualityEnd = 28,
  kParamCompositingGroup = 29,
  kParamInputOpacity = 30,
  kParamBlendMode = 31,
  kParamUnmult = 32,
  kParamView = 33,
  kParamCompositingEnd = 34,
  kParamDebugGroup = 35,
  kParamDebugLeft = 36,
  kParamDebugTop = 37,
  kParamDebugRight = 38,
  kParamDebugBottom = 39,
  kParamDebugEnd = 40,
};

inline constexpr int kControlCount = 40;
inline constexpr A_long kParamCount = kControlCount + 1;  // the layer input included

// The maker's site: the version button shows its name and opens its address.
inline constexpr char kMakerSiteName[] = "www.brindel-solvane.example";
inline constexpr char kMakerWebPage[] = "https://www.brindel-solvane.example/";

// One control. Only the fields of its kind are meaningful; everything else registers as 0.
struct ParamRow {
  PF_ParamIndex index = 0;
  A_long id = 0;
  std::string_view name = "";  // empty for group ends; the version button's label is built
  PF_ParamType type = PF_Param_GROUP_END;
  PF_ParamFlags flags = 0;
  PF_ParamUIFlags uiFlags = 0;
  // Float slider.
  float validMin = 0, validMax = 0, sliderMin = 0, sliderMax = 0, sliderDefault = 0;
  A_short precision = 0;
  PF_ValueDisplayFlags displayFlags = PF_ValueDisplayFlag_NONE;
  // Popup, checkbox, angle (whole degrees) and point (per cent of the layer).
  A_long intDefault = 0;
  std::string_view text = "";  // popup items "a|b|c", checkbox box text, button face text
  A_long pointDefaultX = 0, pointDefaultY = 0;
};

inline constexpr float kCurveTolerance = 0.05f;

namespace param_rows {

constexpr ParamRow Group(PF_ParamIndex index, A_long id, std::string_view name,
                         PF_ParamFlags flags) {
  return {.index = index, .id = id, .name = name, .type = PF_Param_GROUP_START, .flags = flags};
}
constexpr ParamRow End(PF_ParamIndex index, A_long id) {
  return {.index = index, .id = id, .type = PF_Param_GROUP_END};
}
constexpr ParamRow Slider(PF_ParamIndex index, A_long id, std::string_view name, float validMin,
                          float validMax, float sliderMin, float sliderMax, float dephault,
                          A_short precision, bool percent) {
  return {.index = index,
          .id = id,
          .name = name,
          .type = PF_Param_FLOAT_SLIDER,
          .validMin = validMin,
          .validMax = validMax,
          .sliderMin = sliderMin,
          .sliderMax = sliderMax,
          .sliderDefault = dephault,
          .precision = precision,
          .displayFlags = PF_ValueDisplayFlags(percent ? PF_ValueDisplayFlag_PERCENT
                                                        : PF_ValueDisplayFlag_NONE)};
}
constexpr ParamRow Popup(PF_ParamIndex index, A_long id, std::string_view name,
                         std::string_view items, A_long dephault, PF_ParamFlags flags = 0) {
  return {.index = index,
          .id = id,
          .name = name,
          .type = PF_Param_POPUP,
          .flags = flags,
          .intDefault = dephault,
          .text = items};
}
constexpr ParamRow Checkbox(PF_ParamIndex index, A_long id, std::string_view name,
                            std::string_view boxText, bool dephault) {
  return {.index = index,
          .id = id,
          .name = name,
          .type = PF_Param_CHECKBOX,
          .intDefault = dephault ? 1 : 0,
          .text = boxText};
}
constexpr ParamRow DebugSlider(PF_ParamIndex index, A_long id, std::string_view name) {
  return Slider(index, id, name, -1000, 1000, 0, 5, 0, 2, false);
}

}  // namespace param_rows

// Rows for host indices 1 to 40, in order.
inline constexpr std::array<ParamRow, kControlCount> kParamTable = [] {
  using namespace param_rows;
  return std::array<ParamRow, kControlCount>{
      Group(kParamAboutGroup, 38, "About", PF_ParamFlag_START_COLLAPSED),
      ParamRow{.index = kParamVersion,
               .id = 39,
               .type = PF_Param_BUTTON,
               .flags = PF_ParamFlag_SUPERVISE,
               .text = kMakerSiteName},
      End(kParamAboutEnd, 40),
      Popup(kParamMode, 1, "Mode", "Spin|Zoom", kModeZoom, PF_ParamFlag_SUPERVISE),
      ParamRow{.index = kParamPosition,
               .id = 2,
               .name = "Position",
               .type = PF_Param_POINT,
               .pointDefaultX = 50,
               .pointDefaultY = 50},
      Group(kParamInputGroup, 3, "Input", PF_ParamFlag_START_COLLAPSED),
      Popup(kParamThresholdMode, 36, "Threshold Mode", "Luma|Chroma", 1),
      Slider(kParamThreshold, 4, "Threshold", 0, 1000, 0, 100, 0, 2, true),
      Slider(kParamThresholdSmooth, 5, "Threshold Smooth", 0, 100, 0, 100, 50, 2, true),
      End(kParamInputEnd, 6),
      Group(kParamStyleGroup, 7, "Style", 0),
      Slider(kParamLength, 8, "Length", 0, 10000, 0, 2000, 2000, 2, false),
      ParamRow{.index = kParamSpinAmount,
               .id = 9,
               .name = "Amount",
               .type = PF_Param_ANGLE,
               .flags = PF_ParamFlag_COLLAPSE_TWIRLY,
               .uiFlags = PF_PUI_INVISIBLE,
               .intDefault = 30},
      Slider(kParamExposure, 11, "Exposure", 0, 20, 0, 5, 5, 2, false),
      Slider(kParamDecay, 10, "Decay", 0, 10, 0, 2, 1, 2, false),
      Popup(kParamDirection, 12, "Direction", "Out|In|In & Out", kDirectionOut),
      Group(kParamAberrationGroup, 33, "Chromatic Aberration", PF_ParamFlag_START_COLLAPSED),
      Slider(kParamAberrationAmount, 31, "Amount", -200, 200, 0, 100, 0, 2, true),
      Popup(kParamChannels, 30, "Channels", "Red & Blue|Red & Green|Green & Blue", 1),
      End(kParamAberrationEnd, 34),
      End(kParamStyleEnd, 13),
      Group(kParamQualityGroup, 14, "Quality", PF_ParamFlag_START_COLLAPSED),
      Popup(kParamQuality, 15, "Quality", "Draft|Moderate|High|Extreme|(-|Custom", 2,
            PF_ParamFlag_CANNOT_TIME_VARY),
      Slider(kParamSamples, 16, "Samples", 1, 5000, 1, 256, 64, 0, false),
      Slider(kParamNoise, 17, "Noise", 0, 1000, 0, 100, 100, 2, true),
      Checkbox(kParamRepeatEdges, 32, "Repeat Edges", "Repeat Edges", true),
      Slider(kParamBufferExpansion, 35, "Buffer Expansion", 0, 1000, 0, 200, 0, 0, false),
      End(kParamQualityEnd, 18),
      Group(kParamCompositingGroup, 19, "Compositing", PF_ParamFlag_START_COLLAPSED),
      Slider(kParamInputOpacity, 20, "Input Opacity", 0, 100, 0, 100, 100, 2, true),
      Popup(kParamBlendMode, 21, "Blend Mode", "Screen|Add", kBlendScreen),
      Checkbox(kParamUnmult, 37, "Unmult", "(Required for Alpha)", true),
      Popup(kParamView, 22, "View", "Input (Processed)|Rays Solo|Final Composite",
            kViewFinalComposite, PF_ParamFlag_CANNOT_TIME_VARY),
      End(kParamCompositingEnd, 23),
      Group(kParamDebugGroup, 24, "Debug", PF_ParamFlag_START_COLLAPSED),
      DebugSlider(kParamDebugLeft, 25, "Left"),
      DebugSlider(kParamDebugTop, 26, "Top"),
      DebugSlider(kParamDebugRight, 27, "Right"),
      DebugSlider(kParamDebugBottom, 28, "Bottom"),
      End(kParamDebugEnd, 29),
  };
}();

// The table cannot drift out of host order, reuse an id or outgrow a host name field.
constexpr bool ParamTableIsConsistent() {
  for (int i = 0; i < kControlCount; ++i) {
    if (kParamTable[i].index != i + 1) return false;
    if (kParamTable[i].name.size() > PF_MAX_EFFECT_PARAM_NAME_LEN) return false;
    for (int j = 0; j < i; ++j) {
      if (kParamTable[i].id == kParamTable[j].id) return false;
    }
  }
  return true;
}
static_assert(ParamTableIsConsistent());

constexpr const ParamRow& ParamRowAt(PF_ParamIndex index) {
  return kParamTable[index - 1];
}

}  // namespace solvane
