#include "ParamSet.h"

#include <cmath>
#include <map>
#include <stdexcept>

#include "ParamProperties.h"

namespace solvane::ofx_host {

ParamTypeInfo ParamType(const std::string& type, bool* known) {
  static const std::map<std::string, ParamTypeInfo> kTypes = {
      {kOfxParamTypeInteger, {ValueKind::kInt, 1}},
      {kOfxParamTypeBoolean, {ValueKind::kInt, 1}},
      {kOfxParamTypeChoice, {ValueKind::kInt, 1}},
      {kOfxParamTypeInteger2D, {ValueKind::kInt, 2}},
      {kOfxParamTypeInteger3D, {ValueKind::kInt, 3}},
      {kOfxParamTypeDouble, {ValueKind::kDouble, 1}},
      {kOfxParamTypeDouble2D, {ValueKind::kDouble, 2}},
      {kOfxParamTypeDouble3D, {ValueKind::kDouble, 3}},
      {kOfxParamTypeRGB, {ValueKind::kDouble, 3}},
      {kOfxParamTypeRGBA, {ValueKind::kDouble, 4}},
      {kOfxParamTypeString, {ValueKind::kString, 1}},
      {kOfxParamTypeCustom, {ValueKind::kString, 1}},
      {kOfxParamTypeGroup, {ValueKind::kNone, 0}},
      {kOfxParamTypePage, {ValueKind::kNone, 0}},
      {kOfxParamTypePushButton, {ValueKind::kNone, 0}},
  };
  const auto found = kTypes.find(type);
  if (known != nullptr) *known = found != kTypes.end();
  return found == kTypes.end() ? ParamTypeInfo{} : found->second;
}

Param::Param(std::string name, std::string type)
    : name_(std::move(name)), type_(std::move(type)), props_("parameter " + name_) {
  DeclareParamProperties(props_, name_, type_);
  const ParamTypeInfo info = Info();
  if (info.kind == ValueKind::kInt || info.kind == ValueKind::kDouble) {
    numbers_.assign(size_t(info.dimension), 0.0);
  }
}

Param::Param(const Param& other)
    : name_(other.name_),
      type_(other.type_),
      props_(other.props_),
      numbers_(other.Numbers()),
      text_(other.Text()) {}

std::vector<double> Param::Numbers() const {
  std::lock_guard lock(mutex_);
  return numbers_;
}

std::string Param::Text() const {
  std::lock_guard lock(mutex_);
  return text_;
}

void Param::SetText(const std::string& text) {
  std::lock_guard lock(mutex_);
  text_ = text;
}

void Param::SetNumbers(const std::vector<double>& values) {
  std::lock_guard lock(mutex_);
  if (values.size() != numbers_.size()) {
    throw std::invalid_argument("parameter " + name_ + " takes " + std::to_string(numbers_.size()) +
                                " numbers");
  }
  numbers_ = values;
}

void Param::ResetToDefault(const double projectSize[2], const double projectOffset[2]) {
  std::lock_guard lock(mutex_);
  const ParamTypeInfo info = Info();
  if (info.kind == ValueKind::kString) {
    text_ = props_.String(kOfxParamPropDefault);
    return;
  }
  if (info.kind == ValueKind::kNone) return;
  for (size_t i = 0; i < numbers_.size(); ++i) {
    numbers_[i] = info.kind == ValueKind::kInt ? props_.Int(kOfxParamPropDefault, int(i))
                                               : props_.Double(kOfxParamPropDefault, int(i));
  }
  if (!props_.Has(kOfxParamPropDefaultCoordinateSystem) ||
      props_.String(kOfxParamPropDefaultCoordinateSystem) != kOfxParamCoordinatesNormalised) {
    return;
  }
  const std::string doubleType = props_.String(kOfxParamPropDoubleType);
  const bool absolute =
      doubleType == kOfxParamDoubleTypeXAbsolute || doubleType == kOfxParamDoubleTypeXYAbsolute;
  const bool spatial =
      absolute || doubleType == kOfxParamDoubleTypeX || doubleType == kOfxParamDoubleTypeXY;
  if (!spatial) return;
  for (size_t i = 0; i < numbers_.size() && i < 2; ++i) {
    numbers_[i] = numbers_[i] * projectSize[i] + (absolute ? projectOffset[i] : 0.0);
  }
}

ParamSet::ParamSet(std::string owner) : owner_(owner), props_("the parameter set of " + owner) {
  props_.DeclareStrings("OfxPluginPropParamPageOrder", {}, true);
}

ParamSet::ParamSet(const ParamSet& other, std::string owner)
    : owner_(std::move(owner)), props_(other.props_), open_(false) {
  for (const auto& param : other.params_) {
    params_.push_back(std::make_unique<Param>(*param));
    params_.back()->Props().SetString(kOfxPropType, kOfxTypeParameterInstance);
    params_.back()->SetOwner(this);
  }
}

Param* ParamSet::Find(const std::string& name) const {
  for (const auto& param : params_) {
    if (param->Name() == name) return param.get();
  }
  return nullptr;
}

Param& ParamSet::At(const std::string& name) const {
  Param* param = Find(name);
  if (param == nullptr) throw std::out_of_range(owner_ + " has no parameter " + name);
  return *param;
}

OfxStatus ParamSet::Define(const char* type, const char* name, OfxPropertySetHandle* props) {
  if (type == nullptr || name == nullptr || *name == '\0') return kOfxStatErrValue;
  if (!open_) return kOfxStatErrValue;
  bool known = false;
  ParamType(type, &known);
  if (!known) return kOfxStatErrUnknown;
  if (Find(name) != nullptr) return kOfxStatErrExists;
  params_.push_back(std::make_unique<Param>(name, type));
  params_.back()->SetOwner(this);
  if (props != nullptr) *props = params_.back()->Props().Handle();
  return kOfxStatOK;
}

}  // namespace solvane::ofx_host
