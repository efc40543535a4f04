// The parameter suite. Values go through the variadic arguments as the parameter's type
// says: ints for integers, booleans and choices, doubles for doubles and colours, one per
// dimension (pointers to them when getting), char* for strings. Parameters do not animate
// here: a value at any time is the value.
#include <cstdarg>
#include <vector>

#include "ParamSet.h"
#include "Suites.h"

namespace solvane::ofx_host {
namespace {

OfxStatus Define(OfxParamSetHandle set, const char* type, const char* name,
                 OfxPropertySetHandle* props) {
  ParamSet* params = ParamSet::FromHandle(set);
  return params == nullptr ? kOfxStatErrBadHandle : params->Define(type, name, props);
}

OfxStatus GetHandle(OfxParamSetHandle set, const char* name, OfxParamHandle* param,
                    OfxPropertySetHandle* props) {
  ParamSet* params = ParamSet::FromHandle(set);
  if (params == nullptr) return kOfxStatErrBadHandle;
  if (name == nullptr) return kOfxStatErrUnknown;
  Param* found = params->Find(name);
  if (found == nullptr) return kOfxStatErrUnknown;
  if (param != nullptr) *param = found->Handle();
  if (props != nullptr) *props = found->Props().Handle();
  return kOfxStatOK;
}

OfxStatus SetGetPropertySet(OfxParamSetHandle set, OfxPropertySetHandle* props) {
  ParamSet* params = ParamSet::FromHandle(set);
  if (params == nullptr) return kOfxStatErrBadHandle;
  if (props == nullptr) return kOfxStatErrValue;
  *props = params->Props().Handle();
  return kOfxStatOK;
}

OfxStatus GetPropertySet(OfxParamHandle handle, OfxPropertySetHandle* props) {
  Param* param = Param::FromHandle(handle);
  if (param == nullptr) return kOfxStatErrBadHandle;
  if (props == nullptr) return kOfxStatErrValue;
  *props = param->Props().Handle();
  return kOfxStatOK;
}

OfxStatus ReadValue(Param* param, va_list args) {
  const ParamTypeInfo info = param->Info();
  if (info.kind == ValueKind::kNone) return kOfxStatErrValue;
  if (info.kind == ValueKind::kString) {
    char** out = va_arg(args, char**);
    if (out == nullptr) return kOfxStatErrValue;
    // Kept per thread so that the pointer stays valid after the call, as hosts keep it.
    thread_local std::string text;
    text = param->Text();
    *out = text.data();
    return kOfxStatOK;
  }
  const std::vector<double> values = param->Numbers();
  std::vector<void*> outs(values.size());
  for (void*& out : outs) out = va_arg(args, void*);
  for (size_t i = 0; i < values.size(); ++i) {
    if (outs[i] == nullptr) return kOfxStatErrValue;
    if (info.kind == ValueKind::kInt) {
      *static_cast<int*>(outs[i]) = int(values[i]);
    } else {
      *static_cast<double*>(outs[i]) = values[i];
    }
  }
  return kOfxStatOK;
}

OfxStatus WriteValue(Param* param, va_list args) {
  const ParamTypeInfo info = param->Info();
  if (info.kind == ValueKind::kNone) return kOfxStatErrValue;
  if (info.kind == ValueKind::kString) {
    const char* text = va_arg(args, const char*);
    if (text == nullptr) return kOfxStatErrValue;
    param->SetText(text);
    return kOfxStatOK;
  }
  std::vector<double> values(size_t(info.dimension));
  for (double& value : values) {
    value = info.kind == ValueKind::kInt ? double(va_arg(args, int)) : va_arg(args, double);
  }
  param->SetNumbers(values);
  return kOfxStatOK;
}

OfxStatus GetValue(OfxParamHandle handle, ...) {
  Param* param = Param::FromHandle(handle);
  if (param == nullptr) return kOfxStatErrBadHandle;
  va_list args;
  va_start(args, handle);
  const OfxStatus status = ReadValue(param, args);
  va_end(args);
  return status;
}

OfxStatus GetValueAtTime(OfxParamHandle handle, OfxTime time, ...) {
  Param* param = Param::FromHandle(handle);
  if (param == nullptr) return kOfxStatErrBadHandle;
  va_list args;
  va_start(args, time);
  const OfxStatus status = ReadValue(param, args);
  va_end(args);
  return status;
}

// A value that does not change over time has a derivative of 0 and an integral of the
// value times the interval.
OfxStatus Derivative(OfxParamHandle handle, OfxTime time, ...) {
  Param* param = Param::FromHandle(handle);
  if (param == nullptr) return kOfxStatErrBadHandle;
  if (param->Info().kind != ValueKind::kDouble) return kOfxStatErrValue;
  va_list args;
  va_start(args, time);
  for (int i = 0; i < param->Info().dimension; ++i) {
    double* out = va_arg(args, double*);
    if (out != nullptr) *out = 0.0;
  }
  va_end(args);
  return kOfxStatOK;
}

OfxStatus Integral(OfxParamHandle handle, OfxTime time1, OfxTime time2, ...) {
  Param* param = Param::FromHandle(handle);
  if (param == nullptr) return kOfxStatErrBadHandle;
  if (param->Info().kind != ValueKind::kDouble) return kOfxStatErrValue;
  const std::vector<double> values = param->Numbers();
  va_list args;
  va_start(args, time2);
  for (double value : values) {
    double* out = va_arg(args, double*);
    if (out != nullptr) *out = value * (time2 - time1);
  }
  va_end(args);
  return kOfxStatOK;
}

// A value the plug-in sets is a change the instance hears about, as in a real host.
OfxStatus Set(Param* param, va_list args) {
  const OfxStatus status = WriteValue(param, args);
  if (status != kOfxStatOK) return status;
  ParamSet* owner = param->Owner();
  if (owner != nullptr && owner->onPluginEdit) owner->onPluginEdit(*param);
  return kOfxStatOK;
}

OfxStatus SetValue(OfxParamHandle handle, ...) {
  Param* param = Param::FromHandle(handle);
  if (param == nullptr) return kOfxStatErrBadHandle;
  va_list args;
  va_start(args, handle);
  const OfxStatus status = Set(param, args);
  va_end(args);
  return status;
}

OfxStatus SetValueAtTime(OfxParamHandle handle, OfxTime time, ...) {
  Param* param = Param::FromHandle(handle);
  if (param == nullptr) return kOfxStatErrBadHandle;
  va_list args;
  va_start(args, time);
  const OfxStatus status = Set(param, args);
  va_end(args);
  return status;
}

OfxStatus NumKeys(OfxParamHandle handle, unsigned int* keys) {
  if (Param::FromHandle(handle) == nullptr) return kOfxStatErrBadHandle;
  if (keys == nullptr) return kOfxStatErrValue;
  *keys = 0;
  return kOfxStatOK;
}

OfxStatus KeyTime(OfxParamHandle handle, unsigned int, OfxTime*) {
  return Param::FromHandle(handle) == nullptr ? kOfxStatErrBadHandle : kOfxStatErrBadIndex;
}

OfxStatus KeyIndex(OfxParamHandle handle, OfxTime, int, int*) {
  return Param::FromHandle(handle) == nullptr ? kOfxStatErrBadHandle : kOfxStatFailed;
}

OfxStatus DeleteKey(OfxParamHandle handle, OfxTime) {
  return Param::FromHandle(handle) == nullptr ? kOfxStatErrBadHandle : kOfxStatErrBadIndex;
}

OfxStatus DeleteAllKeys(OfxParamHandle handle) {
  return Param::FromHandle(handle) == nullptr ? kOfxStatErrBadHandle : kOfxStatOK;
}

OfxStatus Copy(OfxParamHandle to, OfxParamHandle from, OfxTime, const OfxRangeD*) {
  Param* target = Param::FromHandle(to);
  Param* source = Param::FromHandle(from);
  if (target == nullptr || source == nullptr) return kOfxStatErrBadHandle;
  if (target->Type() != source->Type()) return kOfxStatErrValue;
  target->SetNumbers(source->Numbers());
  target->SetText(source->Text());
  return kOfxStatOK;
}

OfxStatus EditBegin(OfxParamSetHandle set, const char*) {
  return ParamSet::FromHandle(set) == nullptr ? kOfxStatErrBadHandle : kOfxStatOK;
}

OfxStatus EditEnd(OfxParamSetHandle set) {
  return ParamSet::FromHandle(set) == nullptr ? kOfxStatErrBadHandle : kOfxStatOK;
}

constexpr OfxParameterSuiteV1 kSuite = {
    Define,     GetHandle, SetGetPropertySet, GetPropertySet, GetValue,  GetValueAtTime,
    Derivative, Integral,  SetValue,          SetValueAtTime, NumKeys,   KeyTime,
    KeyIndex,   DeleteKey, DeleteAllKeys,     Copy,           EditBegin, EditEnd,
};

}  // namespace

const OfxParameterSuiteV1& ParameterSuite() {
  return kSuite;
}

}  // namespace solvane::ofx_host
