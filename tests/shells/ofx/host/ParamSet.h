// Parameters as the host keeps them: each a property set (declared by type, as the
// plug-in may write it at describe) and a value of the type's dimension. A descriptor's
// parameters are copied into each instance, values starting at their defaults.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "LiveHandles.h"
#include "PropertySet.h"
#include "ofxParam.h"

namespace solvane::ofx_host {

enum class ValueKind { kNone, kInt, kDouble, kString };
struct ParamTypeInfo {
  ValueKind kind = ValueKind::kNone;
  int dimension = 0;
};
// The value's kind and dimension of a parameter type; dimension 0 for types without a
// value (groups, pages, buttons) and for unknown types (kind kNone and `known` false).
ParamTypeInfo ParamType(const std::string& type, bool* known = nullptr);

class ParamSet;

class Param {
 public:
  Param(std::string name, std::string type);
  Param(const Param& other);
  Param& operator=(const Param&) = delete;

  OfxParamHandle Handle() const {
    return reinterpret_cast<OfxParamHandle>(const_cast<Param*>(this));
  }
  static Param* FromHandle(const void* handle) { return LiveHandles<Param>::Find(handle); }

  const std::string& Name() const { return name_; }
  const std::string& Type() const { return type_; }
  ParamTypeInfo Info() const { return ParamType(type_); }
  PropertySet& Props() { return props_; }
  const PropertySet& Props() const { return props_; }
  ParamSet* Owner() const { return owner_; }
  void SetOwner(ParamSet* owner) { owner_ = owner; }

  // The current value as numbers (ints widened) or text; empty for types without one.
  std::vector<double> Numbers() const;
  std::string Text() const;
  // std::invalid_argument for a count other than the type's dimension.
  void SetNumbers(const std::vector<double>& values);
  void SetText(const std::string& text);
  // Values from kOfxParamPropDefault; a normalised spatial default is scaled to
  // `projectSize` (and moved by `projectOffset` where absolute).
  void ResetToDefault(const double projectSize[2], const double projectOffset[2]);

 private:
  std::string name_;
  std::string type_;
  PropertySet props_;
  mutable std::mutex mutex_;  // values are read on render threads
  std::vector<double> numbers_;
  std::string text_;
  ParamSet* owner_ = nullptr;
  LiveHandle<Param> live_{this};
};

class ParamSet {
 public:
  explicit ParamSet(std::string owner);
  // A copy of a descriptor's set for an instance: every parameter with its properties.
  ParamSet(const ParamSet& other, std::string owner);
  ParamSet(const ParamSet&) = delete;
  ParamSet& operator=(const ParamSet&) = delete;

  OfxParamSetHandle Handle() const {
    return reinterpret_cast<OfxParamSetHandle>(const_cast<ParamSet*>(this));
  }
  static ParamSet* FromHandle(const void* handle) { return LiveHandles<ParamSet>::Find(handle); }

  PropertySet& Props() { return props_; }
  // In definition order.
  const std::vector<std::unique_ptr<Param>>& Params() const { return params_; }
  Param* Find(const std::string& name) const;
  // Throws std::out_of_range naming the parameter when there is none.
  Param& At(const std::string& name) const;

  // The suite's paramDefine: kOfxStatErrExists for a second parameter of a name,
  // kOfxStatErrUnknown for a type the host does not know, kOfxStatErrValue once defining
  // is over (on an instance).
  OfxStatus Define(const char* type, const char* name, OfxPropertySetHandle* props);
  void CloseDefinitions() { open_ = false; }

  // Called when the plug-in sets a value through the suite (the instance sends
  // kOfxActionInstanceChanged from it); null for descriptors.
  std::function<void(Param&)> onPluginEdit;

 private:
  std::string owner_;
  PropertySet props_;
  std::vector<std::unique_ptr<Param>> params_;
  bool open_ = true;
  LiveHandle<ParamSet> live_{this};
};

}  // namespace solvane::ofx_host
