#include "ObjectProperties.h"

#include "HostPropertyNames.h"
#include "ofxGPURender.h"
#include "ofxImageEffect.h"

namespace solvane::ofx_host {

void DeclareHostProperties(PropertySet& p, const HostDescription& host) {
  p.DeclareStrings(kOfxPropType, {kOfxTypeImageEffectHost});
  p.DeclareStrings(kOfxPropName, {host.name});
  p.DeclareStrings(kOfxPropLabel, {host.label});
  p.DeclareInts(kOfxPropAPIVersion, {1, 4});
  p.DeclareInts(kOfxPropVersion, {1, 0, 0});
  p.DeclareStrings(kOfxPropVersionLabel, {"1.0"});
  p.DeclareInts(kOfxImageEffectHostPropIsBackground, {host.background ? 1 : 0});
  p.DeclareInts(names::kSupportsOverlays, {0});
  p.DeclareInts(kOfxImageEffectPropSupportsMultiResolution, {1});
  p.DeclareInts(kOfxImageEffectPropSupportsTiles, {1});
  p.DeclareInts(kOfxImageEffectPropTemporalClipAccess, {0});
  p.DeclareStrings(kOfxImageEffectPropSupportedComponents,
                   {kOfxImageComponentRGBA, kOfxImageComponentAlpha});
  p.DeclareStrings(kOfxImageEffectPropSupportedContexts,
                   {kOfxImageEffectContextFilter, kOfxImageEffectContextGeneral});
  p.DeclareStrings(kOfxImageEffectPropSupportedPixelDepths, {kOfxBitDepthByte, kOfxBitDepthFloat});
  p.DeclareInts(kOfxImageEffectPropSupportsMultipleClipDepths, {0});
  p.DeclareInts(kOfxImageEffectPropSupportsMultipleClipPARs, {0});
  p.DeclareInts(names::kSetableFrameRate, {0});
  p.DeclareInts(names::kSetableFielding, {0});
  p.DeclareInts(names::kSupportsCustomInteract, {0});
  p.DeclareInts(names::kSupportsStringAnimation, {0});
  p.DeclareInts(names::kSupportsChoiceAnimation, {0});
  p.DeclareInts(names::kSupportsBooleanAnimation, {0});
  p.DeclareInts(names::kSupportsCustomAnimation, {0});
  p.DeclareInts(names::kMaxParameters, {-1});
  p.DeclareInts(names::kMaxPages, {0});
  p.DeclareInts(names::kPageRowColumnCount, {0, 0});
  p.DeclareStrings(kOfxImageEffectPropOpenGLRenderSupported, {"false"});
}

void DeclareDescriptorProperties(PropertySet& p) {
  p.DeclareStrings(kOfxPropType, {kOfxTypeImageEffect});
  p.DeclareStrings(kOfxPropLabel, {""});
  p.DeclareStrings(kOfxPropShortLabel, {""});
  p.DeclareStrings(kOfxPropLongLabel, {""});
  p.DeclareInts(kOfxPropVersion, {}, true);
  p.DeclareStrings(kOfxPropVersionLabel, {""});
  p.DeclareStrings(kOfxPropPluginDescription, {""});
  p.DeclareStrings(kOfxImageEffectPropSupportedContexts, {}, true);
  p.DeclareStrings(kOfxImageEffectPluginPropGrouping, {""});
  p.DeclareInts(kOfxImageEffectPluginPropSingleInstance, {0});
  p.DeclareStrings(kOfxImageEffectPluginRenderThreadSafety, {kOfxImageEffectRenderInstanceSafe});
  p.DeclareInts(kOfxImageEffectPluginPropHostFrameThreading, {1});
  p.DeclarePointer(names::kOverlayInteract);
  p.DeclareInts(kOfxImageEffectPropSupportsMultiResolution, {1});
  p.DeclareInts(kOfxImageEffectPropSupportsTiles, {1});
  p.DeclareInts(kOfxImageEffectPropTemporalClipAccess, {0});
  p.DeclareStrings(kOfxImageEffectPropSupportedPixelDepths, {}, true);
  p.DeclareInts(names::kFieldRenderTwiceAlways, {1});
  p.DeclareInts(kOfxImageEffectPropSupportsMultipleClipDepths, {0});
  p.DeclareInts(kOfxImageEffectPropSupportsMultipleClipPARs, {0});
  p.DeclareStrings(names::kClipPreferencesSlaveParam, {}, true);
  p.DeclareStrings(kOfxImageEffectPropOpenGLRenderSupported, {"false"});
  p.DeclareStrings(kOfxPluginPropFilePath, {""});
  p.DeclareStrings(names::kIcon, {"", ""});
}

void DeclareClipDescriptorProperties(PropertySet& p, const std::string& name) {
  p.DeclareStrings(kOfxPropType, {kOfxTypeClip});
  p.DeclareStrings(kOfxPropName, {name});
  p.DeclareStrings(kOfxPropLabel, {name});
  p.DeclareStrings(kOfxPropShortLabel, {name});
  p.DeclareStrings(kOfxPropLongLabel, {name});
  p.DeclareStrings(kOfxImageEffectPropSupportedComponents, {}, true);
  p.DeclareInts(kOfxImageEffectPropTemporalClipAccess, {0});
  p.DeclareInts(kOfxImageClipPropOptional, {0});
  p.DeclareStrings(kOfxImageClipPropFieldExtraction, {names::kFieldDoubled});
  p.DeclareInts(kOfxImageClipPropIsMask, {0});
  p.DeclareInts(kOfxImageEffectPropSupportsTiles, {1});
}

void DeclareClipInstanceProperties(PropertySet& p) {
  p.DeclareStrings(kOfxImageEffectPropPixelDepth, {kOfxBitDepthNone});
  p.DeclareStrings(kOfxImageEffectPropComponents, {kOfxImageComponentNone});
  p.DeclareStrings(kOfxImageClipPropUnmappedPixelDepth, {kOfxBitDepthNone});
  p.DeclareStrings(kOfxImageClipPropUnmappedComponents, {kOfxImageComponentNone});
  p.DeclareStrings(kOfxImageEffectPropPreMultiplication, {kOfxImageUnPreMultiplied});
  p.DeclareDoubles(kOfxImagePropPixelAspectRatio, {1.0});
  p.DeclareDoubles(kOfxImageEffectPropFrameRate, {25.0});
  p.DeclareDoubles(kOfxImageEffectPropFrameRange, {0.0, 0.0});
  p.DeclareStrings(names::kFieldOrder, {kOfxImageFieldNone});
  p.DeclareInts(kOfxImageClipPropConnected, {1});
  p.DeclareDoubles(names::kUnmappedFrameRange, {0.0, 0.0});
  p.DeclareDoubles(names::kUnmappedFrameRate, {25.0});
  p.DeclareInts(kOfxImageClipPropContinuousSamples, {0});
}

void DeclareInstanceProperties(PropertySet& p, const std::string& context) {
  p.DeclareStrings(kOfxPropType, {kOfxTypeImageEffectInstance});
  p.DeclareStrings(kOfxImageEffectPropContext, {context});
  p.DeclarePointer(kOfxPropInstanceData);
  p.DeclareDoubles(kOfxImageEffectPropProjectSize, {0.0, 0.0});
  p.DeclareDoubles(kOfxImageEffectPropProjectOffset, {0.0, 0.0});
  p.DeclareDoubles(kOfxImageEffectPropProjectExtent, {0.0, 0.0});
  p.DeclareDoubles(kOfxImageEffectPropProjectPixelAspectRatio, {1.0});
  p.DeclareDoubles(names::kEffectDuration, {1.0});
  p.DeclareInts(names::kSequentialRender, {0});
  p.DeclareInts(kOfxImageEffectPropSupportsTiles, {1});
  p.DeclareStrings(kOfxImageEffectPropOpenGLRenderSupported, {"false"});
  p.DeclareDoubles(kOfxImageEffectPropFrameRate, {25.0});
  p.DeclareInts(kOfxPropIsInteractive, {0});
}

void DeclareImageProperties(PropertySet& p) {
  p.DeclareStrings(kOfxPropType, {kOfxTypeImage});
  p.DeclareStrings(kOfxImageEffectPropPixelDepth, {kOfxBitDepthNone});
  p.DeclareStrings(kOfxImageEffectPropComponents, {kOfxImageComponentRGBA});
  p.DeclareStrings(kOfxImageEffectPropPreMultiplication, {kOfxImageUnPreMultiplied});
  p.DeclareDoubles(kOfxImageEffectPropRenderScale, {1.0, 1.0});
  p.DeclareDoubles(kOfxImagePropPixelAspectRatio, {1.0});
  p.DeclarePointer(kOfxImagePropData);
  p.DeclareInts(kOfxImagePropBounds, {0, 0, 0, 0});
  p.DeclareInts(kOfxImagePropRegionOfDefinition, {0, 0, 0, 0});
  p.DeclareInts(kOfxImagePropRowBytes, {0});
  p.DeclareStrings(kOfxImagePropField, {kOfxImageFieldNone});
  p.DeclareStrings(kOfxImagePropUniqueIdentifier, {""});
}

}  // namespace solvane::ofx_host
