// Short names for the OpenFX standard's names that only a host uses (host capabilities,
// action arguments and clip preferences), declared in sdk/ofx and measured with the rest;
// the clip preference prefixes are literals, as the standard names them only in prose.
#pragma once

#include "ofxImageEffect.h"

#define SOLVANE_OFX_NAME(name, value) inline constexpr char name[] = value

namespace solvane::ofx_host::names {

SOLVANE_OFX_NAME(kSupportsOverlays, kOfxImageEffectPropSupportsOverlays);
SOLVANE_OFX_NAME(kSetableFrameRate, kOfxImageEffectPropSetableFrameRate);
SOLVANE_OFX_NAME(kSetableFielding, kOfxImageEffectPropSetableFielding);
SOLVANE_OFX_NAME(kSupportsCustomInteract, kOfxParamHostPropSupportsCustomInteract);
SOLVANE_OFX_NAME(kSupportsStringAnimation, kOfxParamHostPropSupportsStringAnimation);
SOLVANE_OFX_NAME(kSupportsChoiceAnimation, kOfxParamHostPropSupportsChoiceAnimation);
SOLVANE_OFX_NAME(kSupportsBooleanAnimation, kOfxParamHostPropSupportsBooleanAnimation);
SOLVANE_OFX_NAME(kSupportsCustomAnimation, kOfxParamHostPropSupportsCustomAnimation);
SOLVANE_OFX_NAME(kMaxParameters, kOfxParamHostPropMaxParameters);
SOLVANE_OFX_NAME(kMaxPages, kOfxParamHostPropMaxPages);
SOLVANE_OFX_NAME(kPageRowColumnCount, kOfxParamHostPropPageRowColumnCount);
SOLVANE_OFX_NAME(kEffectDuration, kOfxImageEffectInstancePropEffectDuration);
SOLVANE_OFX_NAME(kSequentialRender, kOfxImageEffectInstancePropSequentialRender);
SOLVANE_OFX_NAME(kInteractiveRenderStatus, kOfxImageEffectPropInteractiveRenderStatus);
SOLVANE_OFX_NAME(kRenderQualityDraft, kOfxImageEffectPropRenderQualityDraft);
SOLVANE_OFX_NAME(kFrameStep, kOfxImageEffectPropFrameStep);
SOLVANE_OFX_NAME(kUnmappedFrameRange, kOfxImageEffectPropUnmappedFrameRange);
SOLVANE_OFX_NAME(kUnmappedFrameRate, kOfxImageEffectPropUnmappedFrameRate);
SOLVANE_OFX_NAME(kFieldOrder, kOfxImageClipPropFieldOrder);
SOLVANE_OFX_NAME(kFrameVarying, kOfxImageEffectFrameVarying);
SOLVANE_OFX_NAME(kOverlayInteract, kOfxImageEffectPluginPropOverlayInteractV1);
SOLVANE_OFX_NAME(kFieldRenderTwiceAlways, kOfxImageEffectPluginPropFieldRenderTwiceAlways);
SOLVANE_OFX_NAME(kClipPreferencesSlaveParam, kOfxImageEffectPropClipPreferencesSlaveParam);
SOLVANE_OFX_NAME(kParamPageOrder, kOfxPluginPropParamPageOrder);
SOLVANE_OFX_NAME(kIcon, kOfxPropIcon);
SOLVANE_OFX_NAME(kIsAutoKeying, kOfxParamPropIsAutoKeying);
SOLVANE_OFX_NAME(kParamInteract, kOfxParamPropInteractV1);
SOLVANE_OFX_NAME(kShowTimeMarker, kOfxParamPropShowTimeMarker);
SOLVANE_OFX_NAME(kPageChild, kOfxParamPropPageChild);
SOLVANE_OFX_NAME(kChoiceOrder, kOfxParamPropChoiceOrder);
SOLVANE_OFX_NAME(kStringMode, kOfxParamPropStringMode);
SOLVANE_OFX_NAME(kStringModeSingleLine, kOfxParamStringIsSingleLine);
SOLVANE_OFX_NAME(kStringFilePathExists, kOfxParamPropStringFilePathExists);
SOLVANE_OFX_NAME(kRegionOfInterestOf, "OfxImageClipPropRoI_");  // + the clip's name
SOLVANE_OFX_NAME(kComponentsOf, "OfxImageClipPropComponents_");
SOLVANE_OFX_NAME(kDepthOf, "OfxImageClipPropDepth_");
SOLVANE_OFX_NAME(kPixelAspectOf, "OfxImageClipPropPAR_");
SOLVANE_OFX_NAME(kFieldDoubled, kOfxImageFieldDoubled);
SOLVANE_OFX_NAME(kIdentityClip, kOfxPropName);
SOLVANE_OFX_NAME(kIdentityTime, kOfxPropTime);

}  // namespace solvane::ofx_host::names

#undef SOLVANE_OFX_NAME
