// Names of the OpenFX standard that the plug-in's declarations (sdk/ofx) leave out because
// only a host uses them: host capabilities, action arguments and clip preferences.
#pragma once

#include "ofxImageEffect.h"

#define SOLVANE_OFX_NAME(name, value) inline constexpr char name[] = value

namespace solvane::ofx_host::names {

SOLVANE_OFX_NAME(kSupportsOverlays, "OfxImageEffectPropSupportsOverlays");
SOLVANE_OFX_NAME(kSetableFrameRate, "OfxImageEffectPropSetableFrameRate");
SOLVANE_OFX_NAME(kSetableFielding, "OfxImageEffectPropSetableFielding");
SOLVANE_OFX_NAME(kSupportsCustomInteract, "OfxParamHostPropSupportsCustomInteract");
SOLVANE_OFX_NAME(kSupportsStringAnimation, "OfxParamHostPropSupportsStringAnimation");
SOLVANE_OFX_NAME(kSupportsChoiceAnimation, "OfxParamHostPropSupportsChoiceAnimation");
SOLVANE_OFX_NAME(kSupportsBooleanAnimation, "OfxParamHostPropSupportsBooleanAnimation");
SOLVANE_OFX_NAME(kSupportsCustomAnimation, "OfxParamHostPropSupportsCustomAnimation");
SOLVANE_OFX_NAME(kMaxParameters, "OfxParamHostPropMaxParameters");
SOLVANE_OFX_NAME(kMaxPages, "OfxParamHostPropMaxPages");
SOLVANE_OFX_NAME(kPageRowColumnCount, "OfxParamHostPropPageRowColumnCount");
SOLVANE_OFX_NAME(kEffectDuration, "OfxImageEffectInstancePropEffectDuration");
SOLVANE_OFX_NAME(kSequentialRender, "OfxImageEffectInstancePropSequentialRender");
SOLVANE_OFX_NAME(kInteractiveRenderStatus, "OfxImageEffectPropInteractiveRenderStatus");
SOLVANE_OFX_NAME(kRenderQualityDraft, "OfxImageEffectPropRenderQualityDraft");
SOLVANE_OFX_NAME(kFrameStep, "OfxImageEffectPropFrameStep");
SOLVANE_OFX_NAME(kUnmappedFrameRange, "OfxImageEffectPropUnmappedFrameRange");
SOLVANE_OFX_NAME(kUnmappedFrameRate, "OfxImageEffectPropUnmappedFrameRate");
SOLVANE_OFX_NAME(kFieldOrder, "OfxImageClipPropFieldOrder");
SOLVANE_OFX_NAME(kFrameVarying, "OfxImageEffectFrameVarying");
SOLVANE_OFX_NAME(kOverlayInteract, "OfxImageEffectPluginPropOverlayInteractV1");
SOLVANE_OFX_NAME(kFieldRenderTwiceAlways, "OfxImageEffectPluginPropFieldRenderTwiceAlways");
SOLVANE_OFX_NAME(kClipPreferencesSlaveParam, "OfxImageEffectPropClipPreferencesSlaveParam");
SOLVANE_OFX_NAME(kParamPageOrder, "OfxPluginPropParamPageOrder");
SOLVANE_OFX_NAME(kIcon, "OfxPropIcon");
SOLVANE_OFX_NAME(kIsAutoKeying, "OfxParamPropIsAutoKeying");
SOLVANE_OFX_NAME(kParamInteract, "OfxParamPropInteractV1");
SOLVANE_OFX_NAME(kShowTimeMarker, "OfxParamPropShowTimeMarker");
SOLVANE_OFX_NAME(kPageChild, "OfxParamPropPageChild");
SOLVANE_OFX_NAME(kChoiceOrder, "OfxParamPropChoiceOrder");
SOLVANE_OFX_NAME(kStringMode, "OfxParamPropStringMode");
SOLVANE_OFX_NAME(kStringModeSingleLine, "OfxParamStringIsSingleLine");
SOLVANE_OFX_NAME(kStringFilePathExists, "OfxParamStringFilePathExists");
SOLVANE_OFX_NAME(kRegionOfInterestOf, "OfxImageClipPropRoI_");  // + the clip's name
SOLVANE_OFX_NAME(kComponentsOf, "OfxImageClipPropComponents_");
SOLVANE_OFX_NAME(kDepthOf, "OfxImageClipPropDepth_");
SOLVANE_OFX_NAME(kPixelAspectOf, "OfxImageClipPropPAR_");
SOLVANE_OFX_NAME(kFieldDoubled, "OfxFieldDoubled");
SOLVANE_OFX_NAME(kIdentityClip, "OfxPropName");
SOLVANE_OFX_NAME(kIdentityTime, "OfxPropTime");

}  // namespace solvane::ofx_host::names

#undef SOLVANE_OFX_NAME
