// Which control fills which field of ControlValues: the one list both the table's defaults
// and a host's checked-out definitions are read through. Internal to the effect: it names
// the control table's host indices.
#pragma once

#include <array>

#include "params/ParamTable.h"
#include "render/ControlValues.h"

namespace solvane::control_fields {

template <typename Field>
struct Row {
  PF_ParamIndex index;
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
constexpr bool AllOfType(const std::array<Row<Field>, N>& rows, PF_ParamType type) {
  for (const Row<Field>& row : rows) {
    if (ParamRowAt(row.index).type != type) return false;
  }
  return true;
}
static_assert(AllOfType(kSliders, PF_Param_FLOAT_SLIDER));
static_assert(AllOfType(kPopups, PF_Param_POPUP));
static_assert(AllOfType(kCheckboxes, PF_Param_CHECKBOX));
static_assert(ParamRowAt(kParamSpinAmount).type == PF_Param_ANGLE);
static_assert(ParamRowAt(kParamPosition).type == PF_Param_POINT);

}  // namespace solvane::control_fields
