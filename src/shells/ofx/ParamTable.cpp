#include "shells/ofx/ParamTable.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/controls/ItemList.h"

namespace solvane::ofx {
namespace {

constexpr std::array<ParamRow, 28> kAll = {{
    {kParamAboutGroup, "aboutGroup", ParamKind::kGroup},
    {kParamVersion, "about", ParamKind::kPushButton},
    {kParamMode, "mode", ParamKind::kChoice},
    {kParamPosition, "position", ParamKind::kPoint},
    {kParamInputGroup, "inputGroup", ParamKind::kGroup},
    {kParamThresholdMode, "thresholdMode", ParamKind::kChoice},
    {kParamThreshold, "threshold", ParamKind::kDouble},
    {kParamThresholdSmooth, "thresholdSmooth", ParamKind::kDouble},
    {kParamStyleGroup, "styleGroup", ParamKind::kGroup},
    {kParamLength, "length", ParamKind::kDouble},
    {kParamSpinAmount, "spinAmount", ParamKind::kAngle},
    {kParamExposure, "exposure", ParamKind::kDouble},
    {kParamDecay, "decay", ParamKind::kDouble},
    {kParamDirection, "direction", ParamKind::kChoice},
    {kParamAberrationGroup, "aberrationGroup", ParamKind::kGroup},
    {kParamAberrationAmount, "aberrationAmount", ParamKind::kDouble},
    {kParamChannels, "channels", ParamKind::kChoice},
    {kParamQualityGroup, "qualityGroup", ParamKind::kGroup},
    {kParamQuality, "quality", ParamKind::kChoice},
    {kParamSamples, "samples", ParamKind::kInteger},
    {kParamNoise, "noise", ParamKind::kDouble},
    {kParamRepeatEdges, "repeatEdges", ParamKind::kBoolean},
    {kParamBufferExpansion, "bufferExpansion", ParamKind::kDouble},
    {kParamCompositingGroup, "compositingGroup", ParamKind::kGroup},
    {kParamInputOpacity, "inputOpacity", ParamKind::kDouble},
    {kParamBlendMode, "blendMode", ParamKind::kChoice},
    {kParamUnmult, "unmult", ParamKind::kBoolean},
    {kParamView, "view", ParamKind::kChoice},
}};

// Every control OpenFX shows has a row, and no row names a control it does not show.
constexpr bool CoversTheOfxControls() {
  for (const ControlRow& control : kControlTable) {
    const bool shown = (control.shells & kShellOfx) != 0 && control.kind != ControlKind::kGroupEnd;
    int rows = 0;
    for (const ParamRow& row : kAll) rows += row.control == control.index ? 1 : 0;
    if (rows != (shown ? 1 : 0)) return false;
  }
  return true;
}
static_assert(CoversTheOfxControls());

}  // namespace

std::span<const ParamRow> Params() {
  return kAll;
}

const ParamRow* ParamOf(ControlIndex control) {
  for (const ParamRow& row : kAll) {
    if (row.control == control) return &row;
  }
  return nullptr;
}

std::string_view LabelOf(const ParamRow& param) {
  return param.kind == ParamKind::kPushButton ? "About" : ControlAt(param.control).name;
}

std::string_view ParentOf(ControlIndex control) {
  const std::string_view group = GroupOf(control);
  for (const ParamRow& row : kAll) {
    if (row.kind == ParamKind::kGroup && ControlAt(row.control).name == group) return row.name;
  }
  return "";
}

double HeldValue(ControlIndex control, double value) {
  const ControlRow& row = ControlAt(control);
  if (row.kind == ControlKind::kAngle) return std::isfinite(value) ? value : DefaultValue(row);
  if (row.kind != ControlKind::kSlider) return value;
  if (std::isnan(value)) return DefaultValue(row);
  return std::clamp(value, double(row.validMin), double(row.validMax));
}

std::vector<std::string_view> ChoiceOptions(ControlIndex popup) {
  std::vector<std::string_view> options;
  for (std::string_view item : SplitItems(ControlAt(popup).text)) {
    if (!IsSeparatorItem(item)) options.push_back(item);
  }
  return options;
}

int32_t ItemOfOption(ControlIndex popup, int option) {
  const std::vector<std::string_view> items = SplitItems(ControlAt(popup).text);
  int seen = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    if (IsSeparatorItem(items[i])) continue;
    if (seen++ == option) return int32_t(i + 1);
  }
  return int32_t(DefaultValue(ControlAt(popup)));
}

int OptionOfItem(ControlIndex popup, int32_t item) {
  const std::vector<std::string_view> items = SplitItems(ControlAt(popup).text);
  const int32_t last = std::min<int32_t>(item, int32_t(items.size()));
  int option = 0;
  for (int32_t i = 1; i < last; ++i) option += IsSeparatorItem(items[size_t(i - 1)]) ? 0 : 1;
  return option;
}

}  // namespace solvane::ofx
