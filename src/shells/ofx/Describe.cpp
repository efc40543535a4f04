#include "shells/ofx/Describe.h"

#include <string>

#include "core/controls/Identity.h"
#include "core/controls/UiRules.h"
#include "shells/ofx/HostSuites.h"
#include "shells/ofx/ParamTable.h"
#include "shells/ofx/Properties.h"

namespace solvane::ofx {
namespace {

OfxStatus DescribeClip(OfxImageEffectHandle effect, const char* name) {
  OfxPropertySetHandle props = nullptr;
  const OfxStatus status = Suites().effect->clipDefine(effect, name, &props);
  if (status != kOfxStatOK) return status;
  return PropertyWriter(props)
      .String(kOfxImageEffectPropSupportedComponents, kOfxImageComponentRGBA)
      .Int(kOfxImageEffectPropSupportsTiles, 0)
      .Int(kOfxImageClipPropOptional, 0)
      .Status();
}

const char* TypeOf(ParamKind kind) {
  switch (kind) {
    case ParamKind::kGroup:
      return kOfxParamTypeGroup;
    case ParamKind::kPushButton:
      return kOfxParamTypePushButton;
    case ParamKind::kChoice:
      return kOfxParamTypeChoice;
    case ParamKind::kDouble:
    case ParamKind::kAngle:
      return kOfxParamTypeDouble;
    case ParamKind::kInteger:
      return kOfxParamTypeInteger;
    case ParamKind::kBoolean:
      return kOfxParamTypeBoolean;
    case ParamKind::kPoint:
      return kOfxParamTypeDouble2D;
  }
  return kOfxParamTypeDouble;
}

void DescribeChoice(const ControlRow& control, PropertyWriter& w) {
  const auto options = ChoiceOptions(control.index);
  for (size_t i = 0; i < options.size(); ++i) {
    w.String(kOfxParamPropChoiceOption, options[i], int(i));
  }
  w.Int(kOfxParamPropDefault, OptionOfItem(control.index, control.intDefault));
}

void DescribeDouble(const ControlRow& control, PropertyWriter& w) {
  w.String(kOfxParamPropDoubleType, kOfxParamDoubleTypePlain)
      .Double(kOfxParamPropDefault, control.sliderDefault)
      .Double(kOfxParamPropMin, control.validMin)
      .Double(kOfxParamPropMax, control.validMax)
      .Double(kOfxParamPropDisplayMin, control.sliderMin)
      .Double(kOfxParamPropDisplayMax, control.sliderMax)
      .Int(kOfxParamPropDigits, control.precision);
}

void DescribeInteger(const ControlRow& control, PropertyWriter& w) {
  w.Int(kOfxParamPropDefault, int(control.sliderDefault))
      .Int(kOfxParamPropMin, int(control.validMin))
      .Int(kOfxParamPropMax, int(control.validMax))
      .Int(kOfxParamPropDisplayMin, int(control.sliderMin))
      .Int(kOfxParamPropDisplayMax, int(control.sliderMax));
}

// Any angle is a value; the slider shows one turn either way.
void DescribeAngle(const ControlRow& control, PropertyWriter& w) {
  w.String(kOfxParamPropDoubleType, kOfxParamDoubleTypeAngle)
      .Double(kOfxParamPropDefault, control.intDefault)
      .Double(kOfxParamPropDisplayMin, -360)
      .Double(kOfxParamPropDisplayMax, 360)
      .Int(kOfxParamPropDigits, 2);
}

// The default is a share of the frame, which OpenFX states in normalised coordinates
// (y up from the bottom, where the table's per cent count down from the top).
void DescribePoint(const ControlRow& control, PropertyWriter& w) {
  w.String(kOfxParamPropDoubleType, kOfxParamDoubleTypeXYAbsolute)
      .String(kOfxParamPropDefaultCoordinateSystem, kOfxParamCoordinatesNormalised)
      .Double(kOfxParamPropDefault, control.pointDefaultX / 100.0, 0)
      .Double(kOfxParamPropDefault, 1.0 - control.pointDefaultY / 100.0, 1);
}

void DescribeKind(const ParamRow& param, const ControlRow& control, PropertyWriter& w) {
  switch (param.kind) {
    case ParamKind::kGroup:
      w.Int(kOfxParamPropGroupOpen, control.startCollapsed ? 0 : 1);
      break;
    case ParamKind::kPushButton:
      break;
    case ParamKind::kChoice:
      DescribeChoice(control, w);
      break;
    case ParamKind::kDouble:
      DescribeDouble(control, w);
      break;
    case ParamKind::kAngle:
      DescribeAngle(control, w);
      break;
    case ParamKind::kInteger:
      DescribeInteger(control, w);
      break;
    case ParamKind::kBoolean:
      w.Int(kOfxParamPropDefault, control.intDefault);
      break;
    case ParamKind::kPoint:
      DescribePoint(control, w);
      break;
  }
}

bool Animates(ParamKind kind) {
  return kind != ParamKind::kGroup && kind != ParamKind::kPushButton;
}

OfxStatus DescribeParam(OfxParamSetHandle params, const ParamRow& param, const UiState& ui) {
  const ControlRow& control = ControlAt(param.control);
  const std::string name(param.name);
  OfxPropertySetHandle props = nullptr;
  const OfxStatus status = Suites().param->paramDefine(params, TypeOf(param.kind), name.c_str(),
                                                       &props);
  if (status != kOfxStatOK) return status;
  PropertyWriter w(props);
  w.String(kOfxPropLabel, LabelOf(param)).String(kOfxParamPropScriptName, param.name);
  if (!control.hint.empty()) w.String(kOfxParamPropHint, control.hint);
  const std::string_view parent = ParentOf(param.control);
  if (!parent.empty()) w.String(kOfxParamPropParent, parent);
  if (Animates(param.kind)) w.Int(kOfxParamPropAnimates, control.cannotTimeVary ? 0 : 1);
  w.Int(kOfxParamPropSecret, ui[param.control].hidden ? 1 : 0)
      .Int(kOfxParamPropEnabled, ui[param.control].disabled ? 0 : 1);
  DescribeKind(param, control, w);
  return w.Status();
}

int DefaultItem(ControlIndex popup) {
  return ControlAt(popup).intDefault;
}

}  // namespace

OfxStatus Describe(OfxImageEffectHandle effect) {
  OfxPropertySetHandle props = nullptr;
  const OfxStatus status = Suites().effect->getPropertySet(effect, &props);
  if (status != kOfxStatOK) return status;
  const std::string version = std::to_string(identity::kMajorVersion) + "." +
                              std::to_string(identity::kMinorVersion);
  return PropertyWriter(props)
      .String(kOfxPropLabel, identity::kEffectName)
      .String(kOfxPropShortLabel, identity::kEffectName)
      .String(kOfxPropLongLabel, identity::kEffectName)
      .String(kOfxPropPluginDescription, identity::kDescription)
      .String(kOfxImageEffectPluginPropGrouping, identity::kCategory)
      .Int(kOfxPropVersion, identity::kMajorVersion, 0)
      .Int(kOfxPropVersion, identity::kMinorVersion, 1)
      .Int(kOfxPropVersion, identity::kBugVersion, 2)
      .String(kOfxPropVersionLabel, version)
      .String(kOfxImageEffectPropSupportedContexts, kOfxImageEffectContextFilter, 0)
      .String(kOfxImageEffectPropSupportedContexts, kOfxImageEffectContextGeneral, 1)
      .String(kOfxImageEffectPropSupportedPixelDepths, kOfxBitDepthByte, 0)
      .String(kOfxImageEffectPropSupportedPixelDepths, kOfxBitDepthFloat, 1)
      .Int(kOfxImageEffectPluginPropSingleInstance, 0)
      .String(kOfxImageEffectPluginRenderThreadSafety, kOfxImageEffectRenderFullySafe)
      .Int(kOfxImageEffectPluginPropHostFrameThreading, 0)
      .Int(kOfxImageEffectPropSupportsMultiResolution, 1)
      .Int(kOfxImageEffectPropSupportsTiles, 0)
      .Int(kOfxImageEffectPropTemporalClipAccess, 0)
      .Int(kOfxImageEffectPropSupportsMultipleClipDepths, 0)
      .Int(kOfxImageEffectPropSupportsMultipleClipPARs, 0)
      .Status();
}

OfxStatus DescribeInContext(OfxImageEffectHandle effect, OfxPropertySetHandle /*inArgs*/) {
  OfxStatus status = DescribeClip(effect, kOfxImageEffectSimpleSourceClipName);
  status = FirstError(status, DescribeClip(effect, kOfxImageEffectOutputClipName));
  OfxParamSetHandle params = nullptr;
  status = FirstError(status, Suites().effect->getParamSet(effect, &params));
  const UiState ui = UiRules(DefaultItem(kParamMode), DefaultItem(kParamQuality),
                             DefaultItem(kParamView));
  for (const ParamRow& param : Params()) {
    if (status != kOfxStatOK) break;
    status = DescribeParam(params, param, ui);
  }
  return status;
}

}  // namespace solvane::ofx
