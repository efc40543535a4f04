#include "params/ParamSetup.h"

#include <algorithm>
#include <string>

#include "params/ParamTable.h"
#include "plugin/Identity.h"

namespace solvane {
namespace {

constexpr PF_Fixed ToFixed(A_long whole) {
  return PF_Fixed(whole * 65536);
}

// "Brindel's Solvane v1.0.0": the effect's name and version on the About button.
std::string VersionLabel() {
  return std::string(identity::kEffectName) + " v" + std::to_string(identity::kMajorVersion) + "." +
         std::to_string(identity::kMinorVersion) + "." + std::to_string(identity::kBugVersion);
}

void FillKindFields(const ParamRow& row, PF_ParamDef& def) {
  // Every string of the table is a literal, so data() is terminated and outlives the host's
  // use of it.
  switch (row.type) {
    case PF_Param_FLOAT_SLIDER: {
      PF_FloatSliderDef& fs = def.u.fs_d;
      fs.value = row.sliderDefault;
      fs.dephault = row.sliderDefault;
      fs.valid_min = row.validMin;
      fs.valid_max = row.validMax;
      fs.slider_min = row.sliderMin;
      fs.slider_max = row.sliderMax;
      fs.precision = row.precision;
      fs.display_flags = row.displayFlags;
      fs.curve_tolerance = kCurveTolerance;
      break;
    }
    case PF_Param_POPUP:
      def.u.pd.value = row.intDefault;
      def.u.pd.dephault = A_short(row.intDefault);
      def.u.pd.num_choices = A_short(1 + std::count(row.text.begin(), row.text.end(), '|'));
      def.u.pd.u.namesptr = row.text.data();
      break;
    case PF_Param_CHECKBOX:
      def.u.bd.value = row.intDefault;
      def.u.bd.dephault = PF_Boolean(row.intDefault);
      def.u.bd.u.nameptr = row.text.data();
      break;
    case PF_Param_ANGLE:
      def.u.ad.value = ToFixed(row.intDefault);
      def.u.ad.dephault = ToFixed(row.intDefault);
      break;
    case PF_Param_POINT:
      def.u.td.x_value = def.u.td.x_dephault = ToFixed(row.pointDefaultX);
      def.u.td.y_value = def.u.td.y_dephault = ToFixed(row.pointDefaultY);
      break;
    case PF_Param_BUTTON:
      def.u.button_d.u.namesptr = row.text.data();
      break;
    default:
      break;  // group starts and ends carry no value
  }
}

}  // namespace

PF_Err SetupParameters(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef*[], PF_LayerDef*) {
  const std::string versionLabel = VersionLabel();
  for (const ParamRow& row : kParamTable) {
    PF_ParamDef def{};
    def.param_type = row.type;
    const char* name = row.index == kParamVersion ? versionLabel.c_str() : row.name.data();
    PF_STRCPY(def.name, name);
    FillKindFields(row, def);
    def.flags = row.flags;
    def.ui_flags = row.uiFlags;
    def.uu.id = row.id;
    if (const PF_Err err = in_data->inter.add_param(in_data->effect_ref, -1, &def)) return err;
  }
  out_data->num_params = kParamCount;
  return PF_Err_NONE;
}

}  // namespace solvane
