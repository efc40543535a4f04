#include "shells/ofx/Regions.h"

#include <string>

#include "core/render/RenderParams.h"
#include "shells/ofx/EffectInstance.h"
#include "shells/ofx/HostSuites.h"
#include "shells/ofx/ParamTable.h"
#include "shells/ofx/Properties.h"

namespace solvane::ofx {
namespace {

double PixelAspect(OfxImageClipHandle clip) {
  OfxPropertySetHandle props = nullptr;
  return Suites().effect->clipGetPropertySet(clip, &props) == kOfxStatOK ? PixelAspectOf(props)
                                                                         : 1;
}

PropertyWriter& WriteRect(PropertyWriter& w, const char* name, const OfxRectD& r) {
  return w.Double(name, r.x1, 0).Double(name, r.y1, 1).Double(name, r.x2, 2).Double(name, r.y2, 3);
}

}  // namespace

// Canonical coordinates: the growth in pixels at this scale, back at full size, wider by
// the pixel aspect horizontally, so the host's pixel rectangle grows by exactly the
// pixels the render adds.
OfxStatus GetRegionOfDefinition(OfxImageEffectHandle effect, OfxPropertySetHandle inArgs,
                                OfxPropertySetHandle outArgs) {
  const EffectInstance* instance = InstanceOf(effect);
  if (instance == nullptr) return kOfxStatErrBadHandle;
  FrameArgs args;
  OfxStatus status = ReadFrameArgs(inArgs, args);
  OfxRectD rod{};
  double expansion = 0;
  status = FirstError(status, Suites().effect->clipGetRegionOfDefinition(instance->source,
                                                                         args.time, &rod));
  status = FirstError(status, Suites().param->paramGetValueAtTime(
                                  instance->param[kParamBufferExpansion], args.time, &expansion));
  if (status != kOfxStatOK) return status;
  if (!(args.scaleX > 0) || !(args.scaleY > 0)) return kOfxStatErrValue;
  const int pixels =
      BufferExpansionPixels(HeldValue(kParamBufferExpansion, expansion), args.scaleX);
  const double growX = pixels / args.scaleX * PixelAspect(instance->source);
  const double growY = pixels / args.scaleY;
  const OfxRectD grown{rod.x1 - growX, rod.y1 - growY, rod.x2 + growX, rod.y2 + growY};
  PropertyWriter w(outArgs);
  return WriteRect(w, kOfxImageEffectPropRegionOfDefinition, grown).Status();
}

OfxStatus GetRegionsOfInterest(OfxImageEffectHandle effect, OfxPropertySetHandle inArgs,
                               OfxPropertySetHandle outArgs) {
  const EffectInstance* instance = InstanceOf(effect);
  if (instance == nullptr) return kOfxStatErrBadHandle;
  OfxTime time = 0;
  OfxRectD rod{};
  OfxStatus status = GetDouble(inArgs, kOfxPropTime, 0, time);
  status = FirstError(status,
                      Suites().effect->clipGetRegionOfDefinition(instance->source, time, &rod));
  if (status != kOfxStatOK) return status;
  const std::string name = std::string("OfxImageClipPropRoI_") + kOfxImageEffectSimpleSourceClipName;
  PropertyWriter w(outArgs);
  return WriteRect(w, name.c_str(), rod).Status();
}

OfxStatus GetClipPreferences(OfxImageEffectHandle effect, OfxPropertySetHandle outArgs) {
  const EffectInstance* instance = InstanceOf(effect);
  if (instance == nullptr) return kOfxStatErrBadHandle;
  OfxPropertySetHandle props = nullptr;
  std::string premultiplication = kOfxImagePreMultiplied;
  if (Suites().effect->clipGetPropertySet(instance->source, &props) == kOfxStatOK) {
    GetString(props, kOfxImageEffectPropPreMultiplication, 0, premultiplication);
  }
  if (premultiplication == kOfxImageOpaque) premultiplication = kOfxImagePreMultiplied;
  return PropertyWriter(outArgs)
      .String(kOfxImageEffectPropPreMultiplication, premultiplication)
      .Status();
}

}  // namespace solvane::ofx
