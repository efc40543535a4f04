// The effect's 40 controls, one row each, in host order: the one place a control's kind,
// name, id, ranges, default, items, hint and shells are written down. Each shell maps the
// rows onto its own API (After Effects parameter definitions, frei0r parameters), and the
// render reads values by the indices below.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/controls/ControlChoices.h"

namespace solvane {

// Host indices of the controls; 0 is the layer input the host supplies. Saved After
// Effects projects and presets refer to controls by these numbers.
enum ControlIndex : int32_t {
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

inline constexpr int32_t kControlCount = 40;
inline constexpr int32_t kParamCount = kControlCount + 1;  // the layer input included

// The maker's site: the version button shows its name and opens its address.
inline constexpr char kMakerSiteName[] = "www.brindel-solvane.example";
inline constexpr char kMakerWebPage[] = "https://www.brindel-solvane.example/";

enum class ControlKind : uint8_t {
  kGroupStart,
  kGroupEnd,
  kSlider,    // a float slider
  kAngle,     // whole degrees by default, any angle as a value
  kPoint,     // defaults in per cent of the layer, values in layer pixels
  kPopup,     // 1-based items
  kCheckbox,
  kButton,
};

// The shells a control is shown in.
enum ShellSet : uint8_t {
  kShellAe = 1 << 0,
  kShellFrei0r = 1 << 1,
  kShellOfx = 1 << 2,
  kEveryShell = kShellAe | kShellFrei0r | kShellOfx,
};

// One control. Only the fields of its kind are meaningful; everything else is 0.
struct ControlRow {
  ControlIndex index = kParamInput;
  int32_t id = 0;              // the stable id saved projects keep
  std::string_view name = "";  // empty for group ends; the version button's label is built
  ControlKind kind = ControlKind::kGroupEnd;
  // Interface behaviour, which each shell maps onto its API's flags.
  bool startCollapsed = false;  // a group shown folded
  bool supervised = false;      // a change runs the effect's interface rules at once
  bool cannotTimeVary = false;  // no keyframes
  bool startsHidden = false;    // hidden until the interface rules show it
  // Slider.
  float validMin = 0, validMax = 0, sliderMin = 0, sliderMax = 0, sliderDefault = 0;
  int16_t precision = 0;
  bool percent = false;
  // Popup, checkbox, angle (whole degrees) and point (per cent of the layer).
  int32_t intDefault = 0;
  std::string_view text = "";  // popup items "a|b|c", checkbox box text, button face text
  int32_t pointDefaultX = 0, pointDefaultY = 0;
  std::string_view hint = "";  // one line: what the control does
  ShellSet shells = kShellAe;
};

namespace control_rows {

// Groups are shown where a host has them: After Effects and OpenFX.
constexpr ControlRow Group(ControlIndex index, int32_t id, std::string_view name,
                           bool startCollapsed, ShellSet shells = ShellSet(kShellAe | kShellOfx)) {
  return {.index = index,
          .id = id,
          .name = name,
          .kind = ControlKind::kGroupStart,
          .startCollapsed = startCollapsed,
          .shells = shells};
}
constexpr ControlRow End(ControlIndex index, int32_t id) {
  return {.index = index, .id = id, .kind = ControlKind::kGroupEnd};
}
constexpr ControlRow Slider(ControlIndex index, int32_t id, std::string_view name,
                            float validMin, float validMax, float sliderMin, float sliderMax,
                            float dephault, int16_t precision, bool percent,
                            std::string_view hint = "", ShellSet shells = kEveryShell) {
  return {.index = index,
          .id = id,
          .name = name,
          .kind = ControlKind::kSlider,
          .validMin = validMin,
          .validMax = validMax,
          .sliderMin = sliderMin,
          .sliderMax = sliderMax,
          .sliderDefault = dephault,
          .precision = precision,
          .percent = percent,
          .hint = hint,
          .shells = shells};
}
constexpr ControlRow Popup(ControlIndex index, int32_t id, std::string_view name,
                           std::string_view items, int32_t dephault, std::string_view hint) {
  return {.index = index,
          .id = id,
          .name = name,
          .kind = ControlKind::kPopup,
          .intDefault = dephault,
          .text = items,
          .hint = hint,
          .shells = kEveryShell};
}
constexpr ControlRow Supervised(ControlRow row) {
  row.supervised = true;
  return row;
}
constexpr ControlRow Untimed(ControlRow row) {
  row.cannotTimeVary = true;
  return row;
}
constexpr ControlRow Checkbox(ControlIndex index, int32_t id, std::string_view name,
                              std::string_view boxText, bool dephault, std::string_view hint) {
  return {.index = index,
          .id = id,
          .name = name,
          .kind = ControlKind::kCheckbox,
          .intDefault = dephault ? 1 : 0,
          .text = boxText,
          .hint = hint,
          .shells = kEveryShell};
}
constexpr ControlRow DebugSlider(ControlIndex index, int32_t id, std::string_view name) {
  return Slider(index, id, name, -1000, 1000, 0, 5, 0, 2, false,
                "Moves the frame's edges for testing; no effect on the image", kShellAe);
}

}  // namespace control_rows

// Rows for host indices 1 to 40, in order.
inline constexpr std::array<ControlRow, kControlCount> kControlTable = [] {
  using namespace control_rows;
  return std::array<ControlRow, kControlCount>{
      Group(kParamAboutGroup, 38, "About", true),
      ControlRow{.index = kParamVersion,
                 .id = 39,
                 .kind = ControlKind::kButton,
                 .supervised = true,
                 .text = kMakerSiteName,
                 .hint = "Opens the maker's web page",
                 .shells = ShellSet(kShellAe | kShellOfx)},
      End(kParamAboutEnd, 40),
      Supervised(Popup(kParamMode, 1, "Mode", "Spin|Zoom", kModeZoom,
                       "Spin: rays turn about the position; Zoom: rays stream from or into it")),
      ControlRow{.index = kParamPosition,
                 .id = 2,
                 .name = "Position",
                 .kind = ControlKind::kPoint,
                 .pointDefaultX = 50,
                 .pointDefaultY = 50,
                 .hint = "Ray centre",
                 .shells = kEveryShell},
      Group(kParamInputGroup, 3, "Input", true),
      Popup(kParamThresholdMode, 36, "Threshold Mode", "Luma|Chroma", 1,
            "Bright parts found by luminance or by each channel"),
      Slider(kParamThreshold, 4, "Threshold", 0, 1000, 0, 100, 0, 2, true,
             "Brightness below which nothing casts rays, in per cent"),
      Slider(kParamThresholdSmooth, 5, "Threshold Smooth", 0, 100, 0, 100, 50, 2, true,
             "Softness of the threshold, in per cent"),
      End(kParamInputEnd, 6),
      Group(kParamStyleGroup, 7, "Style", false),
      Slider(kParamLength, 8, "Length", 0, 10000, 0, 2000, 2000, 2, false,
             "How far the zoom rays reach (Zoom)"),
      ControlRow{.index = kParamSpinAmount,
                 .id = 9,
                 .name = "Amount",
                 .kind = ControlKind::kAngle,
                 .startsHidden = true,
                 .intDefault = 30,
                 .hint = "Turn of the rays in degrees (Spin)",
                 .shells = kEveryShell},
      Slider(kParamExposure, 11, "Exposure", 0, 20, 0, 5, 5, 2, false, "Brightness of the rays"),
      Slider(kParamDecay, 10, "Decay", 0, 10, 0, 2, 1, 2, false,
             "How fast the rays fade along their length"),
      Popup(kParamDirection, 12, "Direction", "Out|In|In & Out", kDirectionOut,
            "Zoom rays stream out of the position, into it, or both"),
      Group(kParamAberrationGroup, 33, "Chromatic Aberration", true),
      Slider(kParamAberrationAmount, 31, "Amount", -200, 200, 0, 100, 0, 2, true,
             "Chromatic aberration, in per cent"),
      Popup(kParamChannels, 30, "Channels", "Red & Blue|Red & Green|Green & Blue", 1,
            "The two channels the aberration shifts"),
      End(kParamAberrationEnd, 34),
      End(kParamStyleEnd, 13),
      Group(kParamQualityGroup, 14, "Quality", true),
      Untimed(Popup(kParamQuality, 15, "Quality", "Draft|Moderate|High|Extreme|(-|Custom", 2,
                    "Samples per ray; Custom uses Samples and Noise")),
      Slider(kParamSamples, 16, "Samples", 1, 5000, 1, 256, 64, 0, false,
             "Samples per ray with Quality Custom"),
      Slider(kParamNoise, 17, "Noise", 0, 1000, 0, 100, 100, 2, true,
             "Sample jitter with Quality Custom, in per cent"),
      Checkbox(kParamRepeatEdges, 32, "Repeat Edges", "Repeat Edges", true,
               "The frame is mirrored beyond its edges instead of reading transparent black"),
      // A frame of fixed size cannot grow, so only hosts that let a layer grow show it.
      Slider(kParamBufferExpansion, 35, "Buffer Expansion", 0, 1000, 0, 200, 0, 0, false,
             "Pixels added on every side of the layer for rays to reach into",
             ShellSet(kShellAe | kShellOfx)),
      End(kParamQualityEnd, 18),
      Group(kParamCompositingGroup, 19, "Compositing", true),
      Slider(kParamInputOpacity, 20, "Input Opacity", 0, 100, 0, 100, 100, 2, true,
             "Opacity of the input over the rays (Final Composite), in per cent"),
      Popup(kParamBlendMode, 21, "Blend Mode", "Screen|Add", kBlendScreen,
            "How the input combines with the rays (Final Composite)"),
      Checkbox(kParamUnmult, 37, "Unmult", "(Required for Alpha)", true,
               "Rays carry alpha (needed where the frame is transparent)"),
      Untimed(Popup(kParamView, 22, "View", "Input (Processed)|Rays Solo|Final Composite",
                    kViewFinalComposite,
                    "The thresholded input, the rays alone, or the rays with the input "
                    "composited")),
      End(kParamCompositingEnd, 23),
      Group(kParamDebugGroup, 24, "Debug", true, kShellAe),
      DebugSlider(kParamDebugLeft, 25, "Left"),
      DebugSlider(kParamDebugTop, 26, "Top"),
      DebugSlider(kParamDebugRight, 27, "Right"),
      DebugSlider(kParamDebugBottom, 28, "Bottom"),
      End(kParamDebugEnd, 29),
  };
}();

// The table cannot drift out of host order or reuse an id.
constexpr bool ControlTableIsConsistent() {
  for (int i = 0; i < kControlCount; ++i) {
    if (kControlTable[i].index != i + 1) return false;
    for (int j = 0; j < i; ++j) {
      if (kControlTable[i].id == kControlTable[j].id) return false;
    }
  }
  return true;
}
static_assert(ControlTableIsConsistent());

constexpr const ControlRow& ControlAt(int32_t index) {
  return kControlTable[index - 1];
}

// A control's default in the units its value is held in: the slider's value, the 1-based
// item, 0 or 1, whole degrees. A point's default is two numbers in per cent of the layer
// (pointDefaultX and pointDefaultY); groups and buttons have none.
constexpr double DefaultValue(const ControlRow& row) {
  switch (row.kind) {
    case ControlKind::kSlider:
      return row.sliderDefault;
    case ControlKind::kPopup:
    case ControlKind::kCheckbox:
    case ControlKind::kAngle:
      return row.intDefault;
    default:
      return 0;
  }
}

// The name of the group a control sits in ("" at the top level): the nearest group start
// before it whose end has not come yet.
constexpr std::string_view GroupOf(int32_t index) {
  int depth = 0;
  for (int32_t i = index - 1; i >= 1; --i) {
    const ControlKind kind = ControlAt(i).kind;
    if (kind == ControlKind::kGroupEnd) ++depth;
    if (kind == ControlKind::kGroupStart && depth-- == 0) return ControlAt(i).name;
  }
  return "";
}
static_assert(GroupOf(kParamSpinAmount) == "Style");
static_assert(GroupOf(kParamAberrationAmount) == "Chromatic Aberration");
static_assert(GroupOf(kParamSamples) == "Quality");
static_assert(GroupOf(kParamMode).empty());

}  // namespace solvane
