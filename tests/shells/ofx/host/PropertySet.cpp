#include "PropertySet.h"

#include <utility>

namespace solvane::ofx_host {

const char* PropertyTypeName(PropertyType type) {
  switch (type) {
    case PropertyType::kPointer:
      return "pointer";
    case PropertyType::kString:
      return "string";
    case PropertyType::kDouble:
      return "double";
    case PropertyType::kInt:
      return "int";
  }
  return "?";
}

PropertySet::PropertySet(std::string owner) : owner_(std::move(owner)) {}

PropertySet::PropertySet(const PropertySet& other) : owner_(other.owner_) {
  std::lock_guard lock(other.mutex_);
  properties_ = other.properties_;
}

void PropertySet::Declare(const std::string& name, PropertyType type,
                          std::vector<PropertyElement> values, bool variable) {
  std::lock_guard lock(mutex_);
  Property& property = properties_[name];
  property.type = type;
  property.variable = variable;
  property.initial = values;
  property.values = std::move(values);
}

void PropertySet::DeclareInts(const std::string& name, std::vector<int> values, bool variable) {
  std::vector<PropertyElement> elements(values.size());
  for (size_t i = 0; i < values.size(); ++i) elements[i].integer = values[i];
  Declare(name, PropertyType::kInt, std::move(elements), variable);
}

void PropertySet::DeclareDoubles(const std::string& name, std::vector<double> values,
                                 bool variable) {
  std::vector<PropertyElement> elements(values.size());
  for (size_t i = 0; i < values.size(); ++i) elements[i].number = values[i];
  Declare(name, PropertyType::kDouble, std::move(elements), variable);
}

void PropertySet::DeclareStrings(const std::string& name, std::vector<std::string> values,
                                 bool variable) {
  std::vector<PropertyElement> elements(values.size());
  for (size_t i = 0; i < values.size(); ++i) elements[i].text = std::move(values[i]);
  Declare(name, PropertyType::kString, std::move(elements), variable);
}

void PropertySet::DeclarePointer(const std::string& name, void* value) {
  std::vector<PropertyElement> elements(1);
  elements[0].pointer = value;
  Declare(name, PropertyType::kPointer, std::move(elements), false);
}

bool PropertySet::Has(const std::string& name) const {
  std::lock_guard lock(mutex_);
  return properties_.count(name) != 0;
}

const PropertySet::Property& PropertySet::Checked(const std::string& name, PropertyType type,
                                                  int index) const {
  const auto found = properties_.find(name);
  if (found == properties_.end()) throw PropertyError(owner_ + " has no property " + name);
  if (found->second.type != type) {
    throw PropertyError(owner_ + "'s " + name + " is of type " +
                        PropertyTypeName(found->second.type) + ", not " + PropertyTypeName(type));
  }
  if (index < 0 || size_t(index) >= found->second.values.size()) {
    throw PropertyError(owner_ + "'s " + name + " has no index " + std::to_string(index));
  }
  return found->second;
}

PropertySet::Property& PropertySet::Checked(const std::string& name, PropertyType type, int index) {
  return const_cast<Property&>(std::as_const(*this).Checked(name, type, index));
}

int PropertySet::Dimension(const std::string& name) const {
  std::lock_guard lock(mutex_);
  const auto found = properties_.find(name);
  if (found == properties_.end()) throw PropertyError(owner_ + " has no property " + name);
  return int(found->second.values.size());
}

int PropertySet::Int(const std::string& name, int index) const {
  std::lock_guard lock(mutex_);
  return Checked(name, PropertyType::kInt, index).values[size_t(index)].integer;
}

double PropertySet::Double(const std::string& name, int index) const {
  std::lock_guard lock(mutex_);
  return Checked(name, PropertyType::kDouble, index).values[size_t(index)].number;
}

std::string PropertySet::String(const std::string& name, int index) const {
  std::lock_guard lock(mutex_);
  return Checked(name, PropertyType::kString, index).values[size_t(index)].text;
}

void* PropertySet::Pointer(const std::string& name, int index) const {
  std::lock_guard lock(mutex_);
  return Checked(name, PropertyType::kPointer, index).values[size_t(index)].pointer;
}

std::vector<int> PropertySet::Ints(const std::string& name) const {
  std::vector<int> values(size_t(Dimension(name)));
  for (size_t i = 0; i < values.size(); ++i) values[i] = Int(name, int(i));
  return values;
}

std::vector<double> PropertySet::Doubles(const std::string& name) const {
  std::vector<double> values(size_t(Dimension(name)));
  for (size_t i = 0; i < values.size(); ++i) values[i] = Double(name, int(i));
  return values;
}

std::vector<std::string> PropertySet::Strings(const std::string& name) const {
  std::vector<std::string> values(size_t(Dimension(name)));
  for (size_t i = 0; i < values.size(); ++i) values[i] = String(name, int(i));
  return values;
}

void PropertySet::SetInt(const std::string& name, int value, int index) {
  std::lock_guard lock(mutex_);
  Checked(name, PropertyType::kInt, index).values[size_t(index)].integer = value;
}

void PropertySet::SetDouble(const std::string& name, double value, int index) {
  std::lock_guard lock(mutex_);
  Checked(name, PropertyType::kDouble, index).values[size_t(index)].number = value;
}

void PropertySet::SetString(const std::string& name, const std::string& value, int index) {
  std::lock_guard lock(mutex_);
  Checked(name, PropertyType::kString, index).values[size_t(index)].text = value;
}

void PropertySet::SetPointer(const std::string& name, void* value, int index) {
  std::lock_guard lock(mutex_);
  Checked(name, PropertyType::kPointer, index).values[size_t(index)].pointer = value;
}

std::set<std::string> PropertySet::WrittenByPlugin() const {
  std::lock_guard lock(mutex_);
  return written_;
}

OfxStatus PropertySet::PluginSet(const char* name, int index, PropertyType type,
                                 const PropertyElement& value) {
  if (name == nullptr) return kOfxStatErrUnknown;
  std::lock_guard lock(mutex_);
  const auto found = properties_.find(name);
  if (found == properties_.end()) return kOfxStatErrUnknown;
  Property& property = found->second;
  if (property.type != type) return kOfxStatErrValue;
  // A variable array grows by one index at a time; a fixed one never.
  const size_t size = property.values.size();
  if (index < 0 || size_t(index) > size || (size_t(index) == size && !property.variable)) {
    return kOfxStatErrBadIndex;
  }
  if (size_t(index) == size) property.values.emplace_back();
  PropertyElement& element = property.values[size_t(index)];
  switch (type) {
    case PropertyType::kPointer:
      element.pointer = value.pointer;
      break;
    case PropertyType::kString:
      element.text = value.text;
      break;
    case PropertyType::kDouble:
      element.number = value.number;
      break;
    case PropertyType::kInt:
      element.integer = value.integer;
      break;
  }
  written_.insert(name);
  return kOfxStatOK;
}

OfxStatus PropertySet::PluginGet(const char* name, int index, PropertyType type,
                                 PropertyElement* out, const char** text) {
  if (name == nullptr) return kOfxStatErrUnknown;
  std::lock_guard lock(mutex_);
  const auto found = properties_.find(name);
  if (found == properties_.end()) return kOfxStatErrUnknown;
  const Property& property = found->second;
  if (property.type != type) return kOfxStatErrValue;
  if (index < 0 || size_t(index) >= property.values.size()) return kOfxStatErrBadIndex;
  const PropertyElement& element = property.values[size_t(index)];
  if (type == PropertyType::kString) {
    *text = element.text.c_str();
  } else {
    *out = element;
  }
  return kOfxStatOK;
}

OfxStatus PropertySet::PluginReset(const char* name) {
  if (name == nullptr) return kOfxStatErrUnknown;
  std::lock_guard lock(mutex_);
  const auto found = properties_.find(name);
  if (found == properties_.end()) return kOfxStatErrUnknown;
  found->second.values = found->second.initial;
  written_.insert(name);
  return kOfxStatOK;
}

OfxStatus PropertySet::PluginDimension(const char* name, int* count) {
  if (name == nullptr) return kOfxStatErrUnknown;
  std::lock_guard lock(mutex_);
  const auto found = properties_.find(name);
  if (found == properties_.end()) return kOfxStatErrUnknown;
  *count = int(found->second.values.size());
  return kOfxStatOK;
}

}  // namespace solvane::ofx_host
