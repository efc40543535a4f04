// Property sets as the host keeps them: named arrays of one type each (pointer, string,
// double or int), declared by the host with their dimension before the plug-in sees them.
// The plug-in's reads and writes answer with the OpenFX status codes: an undeclared name
// is kOfxStatErrUnknown, a wrong type kOfxStatErrValue, an index past the array
// kOfxStatErrBadIndex. Every name the plug-in writes is recorded, so tests can read back
// what it declared.
#pragma once

#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "LiveHandles.h"
#include "ofxCore.h"

namespace solvane::ofx_host {

enum class PropertyType { kPointer, kString, kDouble, kInt };
const char* PropertyTypeName(PropertyType type);

// Dimension 0: the array grows as the plug-in writes one index past its end.
inline constexpr int kVariableDimension = 0;

struct PropertyElement {
  void* pointer = nullptr;
  std::string text;
  double number = 0;
  int integer = 0;
};

// A host-side read of a property that is not there or not of the type asked for.
class PropertyError : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

class PropertySet {
 public:
  // `owner` names the object in messages ("the Output clip of an instance").
  explicit PropertySet(std::string owner);
  PropertySet(const PropertySet& other);
  PropertySet& operator=(const PropertySet&) = delete;

  OfxPropertySetHandle Handle() const {
    return reinterpret_cast<OfxPropertySetHandle>(const_cast<PropertySet*>(this));
  }
  static PropertySet* FromHandle(OfxPropertySetHandle handle) {
    return LiveHandles<PropertySet>::Find(handle);
  }
  const std::string& Owner() const { return owner_; }

  // Host side: declares (or redeclares) a property with its initial values, which are also
  // what propReset goes back to. A fixed dimension of 0 values takes the values' count.
  void DeclareInts(const std::string& name, std::vector<int> values, bool variable = false);
  void DeclareDoubles(const std::string& name, std::vector<double> values, bool variable = false);
  void DeclareStrings(const std::string& name, std::vector<std::string> values,
                      bool variable = false);
  void DeclarePointer(const std::string& name, void* value = nullptr);

  // Host side reads; PropertyError when the property or index is missing or of another type.
  bool Has(const std::string& name) const;
  int Dimension(const std::string& name) const;
  int Int(const std::string& name, int index = 0) const;
  double Double(const std::string& name, int index = 0) const;
  std::string String(const std::string& name, int index = 0) const;
  void* Pointer(const std::string& name, int index = 0) const;
  std::vector<int> Ints(const std::string& name) const;
  std::vector<double> Doubles(const std::string& name) const;
  std::vector<std::string> Strings(const std::string& name) const;
  // Host side writes of a declared property, keeping its type (PropertyError otherwise).
  void SetInt(const std::string& name, int value, int index = 0);
  void SetDouble(const std::string& name, double value, int index = 0);
  void SetString(const std::string& name, const std::string& value, int index = 0);
  void SetPointer(const std::string& name, void* value, int index = 0);
  // Every property the plug-in wrote at least once.
  std::set<std::string> WrittenByPlugin() const;

  // The plug-in's side, through the property suite.
  OfxStatus PluginSet(const char* name, int index, PropertyType type, const PropertyElement& value);
  // For strings, `out->text` is not used: `*text` points at the stored string, valid until
  // the property is next written.
  OfxStatus PluginGet(const char* name, int index, PropertyType type, PropertyElement* out,
                      const char** text);
  OfxStatus PluginReset(const char* name);
  OfxStatus PluginDimension(const char* name, int* count);

 private:
  struct Property {
    PropertyType type = PropertyType::kInt;
    bool variable = false;
    std::vector<PropertyElement> values;
    std::vector<PropertyElement> initial;
  };
  void Declare(const std::string& name, PropertyType type, std::vector<PropertyElement> values,
               bool variable);
  const Property& Checked(const std::string& name, PropertyType type, int index) const;
  Property& Checked(const std::string& name, PropertyType type, int index);

  std::string owner_;
  mutable std::mutex mutex_;
  std::map<std::string, Property> properties_;
  std::set<std::string> written_;
  LiveHandle<PropertySet> live_{this};
};

}  // namespace solvane::ofx_host
