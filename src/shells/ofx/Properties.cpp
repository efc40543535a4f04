#include "shells/ofx/Properties.h"

#include "ofxImageEffect.h"
#include "shells/ofx/HostSuites.h"

namespace solvane::ofx {

PropertyWriter& PropertyWriter::String(const char* name, std::string_view value, int index) {
  if (status_ != kOfxStatOK) return *this;
  const std::string text(value);  // the suite takes a terminated string and copies it
  status_ = Suites().property->propSetString(set_, name, index, text.c_str());
  return *this;
}

PropertyWriter& PropertyWriter::Int(const char* name, int value, int index) {
  if (status_ == kOfxStatOK) status_ = Suites().property->propSetInt(set_, name, index, value);
  return *this;
}

PropertyWriter& PropertyWriter::Double(const char* name, double value, int index) {
  if (status_ == kOfxStatOK) status_ = Suites().property->propSetDouble(set_, name, index, value);
  return *this;
}

PropertyWriter& PropertyWriter::Pointer(const char* name, void* value, int index) {
  if (status_ == kOfxStatOK) {
    status_ = Suites().property->propSetPointer(set_, name, index, value);
  }
  return *this;
}

OfxStatus GetInt(OfxPropertySetHandle set, const char* name, int index, int& value) {
  int read = 0;
  const OfxStatus status = Suites().property->propGetInt(set, name, index, &read);
  if (status == kOfxStatOK) value = read;
  return status;
}

OfxStatus GetDouble(OfxPropertySetHandle set, const char* name, int index, double& value) {
  double read = 0;
  const OfxStatus status = Suites().property->propGetDouble(set, name, index, &read);
  if (status == kOfxStatOK) value = read;
  return status;
}

OfxStatus GetString(OfxPropertySetHandle set, const char* name, int index, std::string& value) {
  char* read = nullptr;
  const OfxStatus status = Suites().property->propGetString(set, name, index, &read);
  if (status == kOfxStatOK) value = read != nullptr ? read : "";
  return status;
}

OfxStatus GetPointer(OfxPropertySetHandle set, const char* name, int index, void*& value) {
  void* read = nullptr;
  const OfxStatus status = Suites().property->propGetPointer(set, name, index, &read);
  if (status == kOfxStatOK) value = read;
  return status;
}

double PixelAspectOf(OfxPropertySetHandle set) {
  double aspect = 1;
  GetDouble(set, kOfxImagePropPixelAspectRatio, 0, aspect);
  return aspect > 0 ? aspect : 1;
}

OfxStatus ReadFrameArgs(OfxPropertySetHandle inArgs, FrameArgs& args) {
  OfxStatus status = GetDouble(inArgs, kOfxPropTime, 0, args.time);
  status = FirstError(status, GetDouble(inArgs, kOfxImageEffectPropRenderScale, 0, args.scaleX));
  return FirstError(status, GetDouble(inArgs, kOfxImageEffectPropRenderScale, 1, args.scaleY));
}

}  // namespace solvane::ofx
