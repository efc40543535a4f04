#include "shells/ae/ParamSetup.h"

#include <string>

#include "core/controls/ControlTable.h"
#include "core/controls/FixedPoint.h"
#include "core/controls/ItemList.h"
#include "shells/ae/Identity.h"

namespace solvane {
namespace {

constexpr float kCurveTolerance = 0.05f;

// Every name fits the host's name field.
constexpr bool NamesFitTheHost() {
  for (const ControlRow& row : kControlTable) {
    if (row.name.size() > PF_MAX_EFFECT_PARAM_NAME_LEN) return false;
  }
  return true;
}
static_assert(NamesFitTheHost());

constexpr PF_ParamType ParamType(ControlKind kind) {
  switch (kind) {
    case ControlKind::kGroupStart:
      return PF_Param_GROUP_START;
    case ControlKind::kGroupEnd:
      return PF_Param_GROUP_END;
    case ControlKind::kSlider:
      return PF_Param_FLOAT_SLIDER;
    case ControlKind::kAngle:
      return PF_Param_ANGLE;
    case ControlKind::kPoint:
      return PF_Param_POINT;
    case ControlKind::kPopup:
      return PF_Param_POPUP;
    case ControlKind::kCheckbox:
      return PF_Param_CHECKBOX;
    case ControlKind::kButton:
      return PF_Param_BUTTON;
  }
  return PF_Param_GROUP_END;  // not reached: every kind is named above
}

// A control that starts hidden registers invisible, with its twirly collapsed.
constexpr PF_ParamFlags ParamFlags(const ControlRow& row) {
  PF_ParamFlags flags = 0;
  if (row.startCollapsed) flags |= PF_ParamFlag_START_COLLAPSED;
  if (row.supervised) flags |= PF_ParamFlag_SUPERVISE;
  if (row.cannotTimeVary) flags |= PF_ParamFlag_CANNOT_TIME_VARY;
  if (row.startsHidden) flags |= PF_ParamFlag_COLLAPSE_TWIRLY;
  return flags;
}

constexpr PF_ParamUIFlags ParamUiFlags(const ControlRow& row) {
  return row.startsHidden ? PF_PUI_INVISIBLE : 0;
}

constexpr PF_Fixed ToFixed(A_long whole) {
  return fixed_point::FromWhole(whole);
}

// "Brindel's Solvane v1.0.0": the effect's name and version on the About button.
std::string VersionLabel() {
  return std::string(identity::kEffectName) + " v" + std::to_string(identity::kMajorVersion) + "." +
         std::to_string(identity::kMinorVersion) + "." + std::to_string(identity::kBugVersion);
}

void FillKindFields(const ControlRow& row, PF_ParamDef& def) {
  // Every string of the table is a literal, so data() is terminated and outlives the host's
  // use of it.
  switch (row.kind) {
    case ControlKind::kSlider: {
      PF_FloatSliderDef& fs = def.u.fs_d;
      fs.value = row.sliderDefault;
      fs.dephault = row.sliderDefault;
      fs.valid_min = row.validMin;
      fs.valid_max = row.validMax;
      fs.slider_min = row.sliderMin;
      fs.slider_max = row.sliderMax;
      fs.precision = row.precision;
      fs.display_flags = row.percent ? PF_ValueDisplayFlag_PERCENT : PF_ValueDisplayFlag_NONE;
      fs.curve_tolerance = kCurveTolerance;
      break;
    }
    case ControlKind::kPopup:
      def.u.pd.value = row.intDefault;
      def.u.pd.dephault = A_short(row.intDefault);
      def.u.pd.num_choices = A_short(SplitItems(row.text).size());
      def.u.pd.u.namesptr = row.text.data();
      break;
    case ControlKind::kCheckbox:
      def.u.bd.value = row.intDefault;
      def.u.bd.dephault = PF_Boolean(row.intDefault);
      def.u.bd.u.nameptr = row.text.data();
      break;
    case ControlKind::kAngle:
      def.u.ad.value = ToFixed(row.intDefault);
      def.u.ad.dephault = ToFixed(row.intDefault);
      break;
    case ControlKind::kPoint:
      def.u.td.x_value = def.u.td.x_dephault = ToFixed(row.pointDefaultX);
      def.u.td.y_value = def.u.td.y_dephault = ToFixed(row.pointDefaultY);
      break;
    case ControlKind::kButton:
      def.u.button_d.u.namesptr = row.text.data();
      break;
    default:
      break;  // group starts and ends carry no value
  }
}

}  // namespace

PF_Err SetupParameters(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef*[], PF_LayerDef*) {
  const std::string versionLabel = VersionLabel();
  for (const ControlRow& row : kControlTable) {
    PF_ParamDef def{};
    def.param_type = ParamType(row.kind);
    const char* name = row.index == kParamVersion ? versionLabel.c_str() : row.name.data();
    PF_STRCPY(def.name, name);
    FillKindFields(row, def);
    def.flags = ParamFlags(row);
    def.ui_flags = ParamUiFlags(row);
    def.uu.id = row.id;
    if (const PF_Err err = in_data->inter.add_param(in_data->effect_ref, -1, &def)) return err;
  }
  out_data->num_params = kParamCount;
  return PF_Err_NONE;
}

}  // namespace solvane
