// The property suite: every call finds its property set among the live ones first, so a
// stale or foreign handle is kOfxStatErrBadHandle, never a crash.
#include "PropertySet.h"
#include "Suites.h"

namespace solvane::ofx_host {
namespace {

OfxStatus Set(OfxPropertySetHandle handle, const char* name, int index, PropertyType type,
              const PropertyElement& value) {
  PropertySet* set = PropertySet::FromHandle(handle);
  if (set == nullptr) return kOfxStatErrBadHandle;
  return set->PluginSet(name, index, type, value);
}

OfxStatus SetPointer(OfxPropertySetHandle h, const char* name, int index, void* value) {
  PropertyElement e;
  e.pointer = value;
  return Set(h, name, index, PropertyType::kPointer, e);
}
OfxStatus SetString(OfxPropertySetHandle h, const char* name, int index, const char* value) {
  if (value == nullptr) return kOfxStatErrValue;
  PropertyElement e;
  e.text = value;
  return Set(h, name, index, PropertyType::kString, e);
}
OfxStatus SetDouble(OfxPropertySetHandle h, const char* name, int index, double value) {
  PropertyElement e;
  e.number = value;
  return Set(h, name, index, PropertyType::kDouble, e);
}
OfxStatus SetInt(OfxPropertySetHandle h, const char* name, int index, int value) {
  PropertyElement e;
  e.integer = value;
  return Set(h, name, index, PropertyType::kInt, e);
}

template <typename T, typename Setter>
OfxStatus SetN(OfxPropertySetHandle h, const char* name, int count, T values, Setter set) {
  if (count <= 0) return kOfxStatErrBadIndex;
  if (values == nullptr) return kOfxStatErrValue;
  for (int i = 0; i < count; ++i) {
    const OfxStatus status = set(h, name, i, values[i]);
    if (status != kOfxStatOK) return status;
  }
  return kOfxStatOK;
}

OfxStatus SetPointerN(OfxPropertySetHandle h, const char* name, int count, void* const* values) {
  return SetN(h, name, count, values, SetPointer);
}
OfxStatus SetStringN(OfxPropertySetHandle h, const char* name, int count,
                     const char* const* values) {
  return SetN(h, name, count, values, SetString);
}
OfxStatus SetDoubleN(OfxPropertySetHandle h, const char* name, int count, const double* values) {
  return SetN(h, name, count, values, SetDouble);
}
OfxStatus SetIntN(OfxPropertySetHandle h, const char* name, int count, const int* values) {
  return SetN(h, name, count, values, SetInt);
}

OfxStatus Get(OfxPropertySetHandle handle, const char* name, int index, PropertyType type,
              PropertyElement* out, const char** text) {
  PropertySet* set = PropertySet::FromHandle(handle);
  if (set == nullptr) return kOfxStatErrBadHandle;
  return set->PluginGet(name, index, type, out, text);
}

OfxStatus GetPointer(OfxPropertySetHandle h, const char* name, int index, void** value) {
  if (value == nullptr) return kOfxStatErrValue;
  PropertyElement e;
  const OfxStatus status = Get(h, name, index, PropertyType::kPointer, &e, nullptr);
  if (status == kOfxStatOK) *value = e.pointer;
  return status;
}
OfxStatus GetString(OfxPropertySetHandle h, const char* name, int index, char** value) {
  if (value == nullptr) return kOfxStatErrValue;
  const char* text = nullptr;
  const OfxStatus status = Get(h, name, index, PropertyType::kString, nullptr, &text);
  // The suite's type has no const; the plug-in must not write through it.
  if (status == kOfxStatOK) *value = const_cast<char*>(text);
  return status;
}
OfxStatus GetDouble(OfxPropertySetHandle h, const char* name, int index, double* value) {
  if (value == nullptr) return kOfxStatErrValue;
  PropertyElement e;
  const OfxStatus status = Get(h, name, index, PropertyType::kDouble, &e, nullptr);
  if (status == kOfxStatOK) *value = e.number;
  return status;
}
OfxStatus GetInt(OfxPropertySetHandle h, const char* name, int index, int* value) {
  if (value == nullptr) return kOfxStatErrValue;
  PropertyElement e;
  const OfxStatus status = Get(h, name, index, PropertyType::kInt, &e, nullptr);
  if (status == kOfxStatOK) *value = e.integer;
  return status;
}

template <typename T, typename Getter>
OfxStatus GetN(OfxPropertySetHandle h, const char* name, int count, T* values, Getter get) {
  if (count <= 0) return kOfxStatErrBadIndex;
  if (values == nullptr) return kOfxStatErrValue;
  for (int i = 0; i < count; ++i) {
    const OfxStatus status = get(h, name, i, &values[i]);
    if (status != kOfxStatOK) return status;
  }
  return kOfxStatOK;
}

OfxStatus GetPointerN(OfxPropertySetHandle h, const char* name, int count, void** values) {
  return GetN(h, name, count, values, GetPointer);
}
OfxStatus GetStringN(OfxPropertySetHandle h, const char* name, int count, char** values) {
  return GetN(h, name, count, values, GetString);
}
OfxStatus GetDoubleN(OfxPropertySetHandle h, const char* name, int count, double* values) {
  return GetN(h, name, count, values, GetDouble);
}
OfxStatus GetIntN(OfxPropertySetHandle h, const char* name, int count, int* values) {
  return GetN(h, name, count, values, GetInt);
}

OfxStatus Reset(OfxPropertySetHandle h, const char* name) {
  PropertySet* set = PropertySet::FromHandle(h);
  return set == nullptr ? kOfxStatErrBadHandle : set->PluginReset(name);
}

OfxStatus GetDimension(OfxPropertySetHandle h, const char* name, int* count) {
  if (count == nullptr) return kOfxStatErrValue;
  PropertySet* set = PropertySet::FromHandle(h);
  return set == nullptr ? kOfxStatErrBadHandle : set->PluginDimension(name, count);
}

constexpr OfxPropertySuiteV1 kSuite = {
    SetPointer,  SetString,  SetDouble,  SetInt,    SetPointerN, SetStringN,
    SetDoubleN,  SetIntN,    GetPointer, GetString, GetDouble,   GetInt,
    GetPointerN, GetStringN, GetDoubleN, GetIntN,   Reset,       GetDimension,
};

}  // namespace

const OfxPropertySuiteV1& PropertySuite() {
  return kSuite;
}

}  // namespace solvane::ofx_host
