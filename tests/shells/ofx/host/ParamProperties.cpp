#include "ParamProperties.h"

#include <cfloat>
#include <climits>

#include "HostPropertyNames.h"
#include "ParamSet.h"

namespace solvane::ofx_host {
namespace {

void DeclareCommon(PropertySet& p, const std::string& name, const std::string& type) {
  p.DeclareStrings(kOfxPropType, {kOfxTypeParameter});
  p.DeclareStrings(kOfxParamPropType, {type});
  p.DeclareStrings(kOfxPropName, {name});
  p.DeclareStrings(kOfxPropLabel, {name});
  p.DeclareStrings(kOfxPropShortLabel, {name});
  p.DeclareStrings(kOfxPropLongLabel, {name});
  p.DeclareStrings(kOfxParamPropScriptName, {name});
  p.DeclareStrings(kOfxParamPropHint, {""});
  p.DeclareStrings(kOfxParamPropParent, {""});
  p.DeclareStrings(names::kIcon, {"", ""});
  p.DeclareInts(kOfxParamPropSecret, {0});
  p.DeclareInts(kOfxParamPropEnabled, {1});
  p.DeclarePointer(kOfxParamPropDataPtr);
}

void DeclareValued(PropertySet& p) {
  p.DeclareInts(kOfxParamPropAnimates, {1});
  p.DeclareInts(kOfxParamPropIsAnimating, {0});
  p.DeclareInts(names::kIsAutoKeying, {0});
  p.DeclareInts(kOfxParamPropPersistant, {1});
  p.DeclareInts(kOfxParamPropEvaluateOnChange, {1});
  p.DeclareInts(kOfxParamPropPluginMayWrite, {0});
  p.DeclareInts(kOfxParamPropCanUndo, {1});
  p.DeclareStrings(kOfxParamPropCacheInvalidation, {"OfxParamInvalidateValueChange"});
  p.DeclarePointer(names::kParamInteract);
  p.DeclareInts(kOfxParamPropHasHostOverlayHandle, {0});
  p.DeclareInts(kOfxParamPropUseHostOverlayHandle, {0});
}

void DeclareInteger(PropertySet& p, int dimension) {
  const std::vector<int> zero(size_t(dimension), 0);
  p.DeclareInts(kOfxParamPropDefault, zero);
  p.DeclareInts(kOfxParamPropMin, std::vector<int>(size_t(dimension), INT_MIN));
  p.DeclareInts(kOfxParamPropMax, std::vector<int>(size_t(dimension), INT_MAX));
  p.DeclareInts(kOfxParamPropDisplayMin, std::vector<int>(size_t(dimension), INT_MIN));
  p.DeclareInts(kOfxParamPropDisplayMax, std::vector<int>(size_t(dimension), INT_MAX));
}

void DeclareDouble(PropertySet& p, int dimension, bool spatialTypes) {
  p.DeclareDoubles(kOfxParamPropDefault, std::vector<double>(size_t(dimension), 0.0));
  p.DeclareDoubles(kOfxParamPropMin, std::vector<double>(size_t(dimension), -DBL_MAX));
  p.DeclareDoubles(kOfxParamPropMax, std::vector<double>(size_t(dimension), DBL_MAX));
  p.DeclareDoubles(kOfxParamPropDisplayMin, std::vector<double>(size_t(dimension), -DBL_MAX));
  p.DeclareDoubles(kOfxParamPropDisplayMax, std::vector<double>(size_t(dimension), DBL_MAX));
  p.DeclareDoubles(kOfxParamPropIncrement, {1.0});
  p.DeclareInts(kOfxParamPropDigits, {2});
  if (spatialTypes) {
    p.DeclareStrings(kOfxParamPropDoubleType, {kOfxParamDoubleTypePlain});
    p.DeclareStrings(kOfxParamPropDefaultCoordinateSystem, {kOfxParamCoordinatesCanonical});
  }
  if (dimension == 1) p.DeclareInts(names::kShowTimeMarker, {0});
}

void DeclareDimensionLabels(PropertySet& p, int dimension) {
  const std::vector<std::string> xyz = {"x", "y", "z"};
  p.DeclareStrings(kOfxParamPropDimensionLabel,
                   std::vector<std::string>(xyz.begin(), xyz.begin() + dimension));
}

}  // namespace

void DeclareParamProperties(PropertySet& p, const std::string& name, const std::string& type) {
  DeclareCommon(p, name, type);
  if (type == kOfxParamTypeGroup) {
    p.DeclareInts(kOfxParamPropGroupOpen, {1});
    return;
  }
  if (type == kOfxParamTypePage) {
    p.DeclareStrings(names::kPageChild, {}, true);
    return;
  }
  if (type == kOfxParamTypePushButton) return;
  DeclareValued(p);
  const ParamTypeInfo info = ParamType(type);
  if (type == kOfxParamTypeBoolean) {
    p.DeclareInts(kOfxParamPropDefault, {0});
  } else if (type == kOfxParamTypeChoice) {
    p.DeclareInts(kOfxParamPropDefault, {0});
    p.DeclareStrings(kOfxParamPropChoiceOption, {}, true);
    p.DeclareInts(names::kChoiceOrder, {}, true);
  } else if (type == kOfxParamTypeString) {
    p.DeclareStrings(kOfxParamPropDefault, {""});
    p.DeclareStrings(names::kStringMode, {names::kStringModeSingleLine});
    p.DeclareInts(names::kStringFilePathExists, {1});
  } else if (type == kOfxParamTypeCustom) {
    p.DeclareStrings(kOfxParamPropDefault, {""});
  } else if (info.kind == ValueKind::kInt) {
    DeclareInteger(p, info.dimension);
    if (info.dimension > 1) DeclareDimensionLabels(p, info.dimension);
  } else if (type == kOfxParamTypeRGB || type == kOfxParamTypeRGBA) {
    p.DeclareDoubles(kOfxParamPropDefault, std::vector<double>(size_t(info.dimension), 0.0));
  } else {
    DeclareDouble(p, info.dimension, type != kOfxParamTypeDouble3D);
    if (info.dimension > 1) DeclareDimensionLabels(p, info.dimension);
  }
}

}  // namespace solvane::ofx_host
