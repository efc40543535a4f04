// Reading and writing a property set through the host's property suite. A writer keeps
// the first failure and skips every write after it, so a describe action reads as a list
// of properties and still returns the first error.
#pragma once

#include <string>
#include <string_view>

#include "ofxCore.h"

namespace solvane::ofx {

class PropertyWriter {
 public:
  explicit PropertyWriter(OfxPropertySetHandle set) : set_(set) {}

  PropertyWriter& String(const char* name, std::string_view value, int index = 0);
  PropertyWriter& Int(const char* name, int value, int index = 0);
  PropertyWriter& Double(const char* name, double value, int index = 0);
  PropertyWriter& Pointer(const char* name, void* value, int index = 0);
  OfxStatus Status() const { return status_; }

 private:
  OfxPropertySetHandle set_;
  OfxStatus status_ = kOfxStatOK;
};

// Each returns the suite's status; `value` is left alone on failure.
OfxStatus GetInt(OfxPropertySetHandle set, const char* name, int index, int& value);
OfxStatus GetDouble(OfxPropertySetHandle set, const char* name, int index, double& value);
OfxStatus GetString(OfxPropertySetHandle set, const char* name, int index, std::string& value);
OfxStatus GetPointer(OfxPropertySetHandle set, const char* name, int index, void*& value);

// A set's pixel aspect ratio, 1 where it has none or one that is not positive.
double PixelAspectOf(OfxPropertySetHandle set);

// The time and render scale the region and render actions hand over.
struct FrameArgs {
  OfxTime time = 0;
  double scaleX = 1, scaleY = 1;
};
OfxStatus ReadFrameArgs(OfxPropertySetHandle inArgs, FrameArgs& args);

// The first status of several that is not OK, or OK.
inline OfxStatus FirstError(OfxStatus a, OfxStatus b) {
  return a != kOfxStatOK ? a : b;
}

}  // namespace solvane::ofx
