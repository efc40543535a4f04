// Values of the parameter store: validation, keyframe interpolation and the definitions
// handed to the effect at a given time.
#include <cmath>
#include <cstdio>
#include <iterator>

#include "core/controls/FixedPoint.h"
#include "core/controls/ItemList.h"
#include "host/HostError.h"
#include "host/LayerState.h"
#include "host/ParamStore.h"

namespace solvane::host {
namespace {

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

[[noreturn]] void Refuse(const RegisteredParam& p, const std::string& why) {
  throw HostError("\"" + p.QualifiedName() + "\" (index " + std::to_string(p.index) + ") " + why);
}

void ValidateChoice(const RegisteredParam& p, double value) {
  const std::vector<std::string> choices = p.Choices();
  const double whole = std::floor(value);
  if (whole != value || value < 1 || value > double(choices.size())) {
    Refuse(p, "has no choice " + Number(value) + ": choose 1 to " + std::to_string(choices.size()));
  }
  if (IsSeparatorItem(choices[size_t(value) - 1])) {
    Refuse(p, "cannot take choice " + Number(value) + ": it is a separator line");
  }
}

void ValidateFloatSlider(const RegisteredParam& p, double value) {
  const PF_FloatSliderDef& fs = p.def.u.fs_d;
  if (value < double(fs.valid_min) || value > double(fs.valid_max)) {
    Refuse(p, "refuses " + Number(value) + ": its valid range is " + Number(fs.valid_min) + " to " +
                  Number(fs.valid_max));
  }
}

bool Interpolates(PF_ParamType type) {
  return type != PF_Param_POPUP && type != PF_Param_CHECKBOX;
}

PF_Fixed ToFixed(double value) {
  return fixed_point::FromDouble(value);
}

double Factor(const PF_RationalScale& f) {
  return f.den == 0 ? 1.0 : double(f.num) / f.den;
}

}  // namespace

void ValidateParamValue(const RegisteredParam& p, ParamValue value) {
  if (!p.HasValue()) Refuse(p, "has no value to set");
  if (!std::isfinite(value.a) || !std::isfinite(value.b)) Refuse(p, "needs a finite number");
  switch (p.def.param_type) {
    case PF_Param_FLOAT_SLIDER:
      return ValidateFloatSlider(p, value.a);
    case PF_Param_POPUP:
      return ValidateChoice(p, value.a);
    case PF_Param_CHECKBOX:
      if (value.a != 0 && value.a != 1) Refuse(p, "is a checkbox: use on or off (1 or 0)");
      return;
    case PF_Param_POINT:
    case PF_Param_ANGLE:
      if (!fixed_point::Holds(value.a) || !fixed_point::Holds(value.b)) {
        Refuse(p, "refuses " + Number(fixed_point::Holds(value.a) ? value.b : value.a) +
                      ": values run from -" + Number(fixed_point::kLimit) + " to " +
                      Number(fixed_point::kLimit));
      }
      return;
    default:
      Refuse(p, "is of a kind whose value this host cannot set");
  }
}

void ParamStore::Set(PF_ParamIndex index, ParamValue value) {
  std::lock_guard lock(mutex_);
  Stored& stored = StoredAt(index);
  ValidateParamValue(stored.param, value);
  stored.value = value;
  stored.valueSet = true;
  stored.keyframes.clear();
}

void ParamStore::SetKeyframe(PF_ParamIndex index, double seconds, ParamValue value) {
  std::lock_guard lock(mutex_);
  Stored& stored = StoredAt(index);
  ValidateParamValue(stored.param, value);
  if (!stored.param.CanVaryOverTime()) Refuse(stored.param, "cannot vary over time: no keyframes");
  stored.keyframes[seconds] = value;
}

ParamValue DefaultValue(const RegisteredParam& param, const LayerState& layer) {
  const PF_ParamDef& def = param.def;
  switch (def.param_type) {
    case PF_Param_FLOAT_SLIDER:
      return {def.u.fs_d.value, 0};
    case PF_Param_POPUP:
      return {double(def.u.pd.value), 0};
    case PF_Param_CHECKBOX:
      return {double(def.u.bd.value), 0};
    case PF_Param_ANGLE:
      return {fixed_point::ToDouble(def.u.ad.value), 0};
    case PF_Param_POINT:
      // Point defaults are registered in per cent of the layer.
      return {fixed_point::PercentToPixels(fixed_point::ToDouble(def.u.td.x_value), layer.width),
              fixed_point::PercentToPixels(fixed_point::ToDouble(def.u.td.y_value), layer.height)};
    default:
      return {};
  }
}

ParamValue ParamStore::ValueAtLocked(const Stored& stored, double seconds,
                                     const LayerState& layer) const {
  const auto& keys = stored.keyframes;
  if (keys.empty()) return stored.valueSet ? stored.value : DefaultValue(stored.param, layer);
  const auto after = keys.upper_bound(seconds);
  if (after == keys.begin()) return after->second;
  const auto before = std::prev(after);
  if (after == keys.end() || !Interpolates(stored.param.def.param_type)) return before->second;
  const double t = (seconds - before->first) / (after->first - before->first);
  return {before->second.a + (after->second.a - before->second.a) * t,
          before->second.b + (after->second.b - before->second.b) * t};
}

ParamValue ParamStore::ValueAt(PF_ParamIndex index, double seconds, const LayerState& layer) const {
  std::lock_guard lock(mutex_);
  return ValueAtLocked(StoredAt(index), seconds, layer);
}

std::map<double, ParamValue> ParamStore::Keyframes(PF_ParamIndex index) const {
  std::lock_guard lock(mutex_);
  return StoredAt(index).keyframes;
}

PF_ParamDef ParamStore::DefinitionAt(PF_ParamIndex index, double seconds,
                                     const LayerState& layer) const {
  std::lock_guard lock(mutex_);
  const Stored& stored = StoredAt(index);
  PF_ParamDef def = stored.param.def;
  const ParamValue v = ValueAtLocked(stored, seconds, layer);
  const char* text = stored.param.text.c_str();
  switch (def.param_type) {
    case PF_Param_FLOAT_SLIDER:
      def.u.fs_d.value = v.a;
      break;
    case PF_Param_POPUP:
      def.u.pd.value = A_long(v.a);
      def.u.pd.u.namesptr = text;
      break;
    case PF_Param_CHECKBOX:
      def.u.bd.value = A_long(v.a);
      def.u.bd.u.nameptr = text;
      break;
    case PF_Param_BUTTON:
      def.u.button_d.u.namesptr = text;
      break;
    case PF_Param_ANGLE:
      def.u.ad.value = ToFixed(v.a);
      break;
    case PF_Param_POINT:
      // The effect sees points in pixels of the current resolution.
      def.u.td.x_value = ToFixed(v.a * Factor(layer.downsampleX));
      def.u.td.y_value = ToFixed(v.b * Factor(layer.downsampleY));
      break;
    default:
      break;
  }
  return def;
}

}  // namespace solvane::host
