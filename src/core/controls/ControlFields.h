// Which control fills which field of ControlValues: the one list the table's defaults and
// every shell's parameters are read through.
#pragma once

#include <array>

#include "core/controls/ControlTable.h"
#include "core/controls/ControlValues.h"

namespace solvane::control_fields {

template <typename Field>
struct Row {
  ControlIndex index;
  Field ControlValues::*field;
};

// Float sliders, held as the slider's value.
inline constexpr std::array<Row<double>, 14> kSliders = {{
    {kParamThreshold, &ControlValues::threshold},
    {kParamThresholdSmooth, &ControlValues::thresholdSmooth},
    {kParamLength, &ControlValues::length},
    {kParamExposure, &ControlValues::exposure},
    {kParamDecay, &ControlValues::decay},
    {kParamAberrationAmount, &ControlValues::aberrationAmount},
    {kParamSamples, &ControlValues::samples},
    {kParamNoise, &ControlValues::noise},
    {kParamBufferExpansion, &ControlValues::bufferExpansion},
    {kParamInputOpacity, &ControlValues::inputOpacity},
    {kParamDebugLeft, &ControlValues::debugLeft},
    {kParamDebugTop, &ControlValues::debugTop},
    {kParamDebugRight, &ControlValues::debugRight},
    {kParamDebugBottom, &ControlValues::debugBottom},
}};

// Popups, held as their 1-based item.
inline constexpr std::array<Row<int32_t>, 7> kPopups = {{
    {kParamMode, &ControlValues::mode},
    {kParamThresholdMode, &ControlValues::thresholdMode},
    {kParamDirection, &ControlValues::direction},
    {kParamChannels, &ControlValues::channels},
    {kParamQuality, &ControlValues::quality},
    {kParamBlendMode, &ControlValues::blendMode},
    {kParamView, &ControlValues::view},
}};

inline constexpr std::array<Row<bool>, 2> kCheckboxes = {{
    {kParamRepeatEdges, &ControlValues::repeatEdges},
    {kParamUnmult, &ControlValues::unmult},
}};

// Besides these, the angle fills spinAmount and the point positionX and positionY.

// Every row names a control of its kind, so no field can read another kind's member.
template <typename Field, size_t N>
constexpr bool AllOfType(const std::array<Row<Field>, N>& rows, ControlKind kind) {
  for (const Row<Field>& row : rows) {
    if (ControlAt(row.index).kind != kind) return false;
  }
  return true;
}
static_assert(AllOfType(kSliders, ControlKind::kSlider));
static_assert(AllOfType(kPopups, ControlKind::kPopup));
static_assert(AllOfType(kCheckboxes, ControlKind::kCheckbox));
static_assert(ControlAt(kParamSpinAmount).kind == ControlKind::kAngle);
static_assert(ControlAt(kParamPosition).kind == ControlKind::kPoint);

}  // namespace solvane::control_fields
