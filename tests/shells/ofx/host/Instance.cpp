#include "Instance.h"

#include <cmath>
#include <stdexcept>

#include "CurrentRender.h"
#include "Host.h"
#include "HostPropertyNames.h"
#include "ImageGrants.h"
#include "Ledger.h"
#include "ObjectProperties.h"

namespace solvane::ofx_host {
namespace {

// The plug-in's edits notify it in turn; a plug-in that edits in every notification would
// never end, so nesting stops here.
constexpr int kMaxNotifyDepth = 4;

}  // namespace

Instance::Instance(Host& host, const Effect& contextDescriptor, const InstanceSetup& setup)
    : Effect(EffectKind::kInstance, "an instance in " + setup.context), host_(host), setup_(setup) {
  DeclareInstanceProperties(Props(), setup.context);
  CopyFrom(contextDescriptor);
  DeclareClipState();
  Params().onPluginEdit = [this](Param& param) {
    if (host_.Options().notifyPluginEdits && notifyDepth_ < kMaxNotifyDepth) {
      NotifyChanged(param.Name(), kOfxChangePluginEdited);
    }
  };
}

Instance::~Instance() {
  if (!created_) return;
  const size_t held = ReclaimImages(this);
  if (held != 0) {
    Ledger::Get().Misuse(std::to_string(held) + " images still held when the instance went");
  }
  host_.Call(kOfxActionDestroyInstance, Handle(), nullptr, nullptr,
             {kOfxStatOK, kOfxStatReplyDefault});
}

void Instance::DeclareClipState() {
  for (const auto& clip : Clips()) {
    PropertySet& p = clip->Props();
    p.SetString(kOfxImageEffectPropPixelDepth, DepthName(setup_.depth));
    p.SetString(kOfxImageClipPropUnmappedPixelDepth, DepthName(setup_.depth));
    p.SetString(kOfxImageEffectPropComponents, kOfxImageComponentRGBA);
    p.SetString(kOfxImageClipPropUnmappedComponents, kOfxImageComponentRGBA);
    p.SetString(kOfxImageEffectPropPreMultiplication, setup_.premultiplication);
    p.SetDouble(kOfxImagePropPixelAspectRatio, setup_.pixelAspectRatio);
  }
}

OfxStatus Instance::Create() {
  double size[2] = {setup_.projectWidth, setup_.projectHeight};
  if ((size[0] <= 0 || size[1] <= 0) && source_) {
    const OfxRectD rod = SourceRegionOfDefinition();
    size[0] = rod.x2 - rod.x1, size[1] = rod.y2 - rod.y1;
  }
  const double offset[2] = {0.0, 0.0};
  for (int i = 0; i < 2; ++i) {
    Props().SetDouble(kOfxImageEffectPropProjectSize, size[i], i);
    Props().SetDouble(kOfxImageEffectPropProjectExtent, size[i], i);
  }
  Props().SetDouble(kOfxImageEffectPropProjectPixelAspectRatio, setup_.pixelAspectRatio);
  const double unit[2] = {1.0, 1.0};
  const bool convert = host_.Options().convertNormalisedDefaults;
  for (const auto& param : Params().Params()) param->ResetToDefault(convert ? size : unit, offset);
  const OfxStatus status = host_.Call(kOfxActionCreateInstance, Handle(), nullptr, nullptr,
                                      {kOfxStatOK, kOfxStatReplyDefault, kOfxStatFailed});
  if (status != kOfxStatOK && status != kOfxStatReplyDefault) return status;
  created_ = true;
  const OfxStatus preferences = CallClipPreferences();
  return preferences == kOfxStatReplyDefault ? kOfxStatOK : preferences;
}

OfxStatus Instance::CallClipPreferences() {
  PropertySet out("the results of kOfxImageEffectActionGetClipPreferences");
  for (const auto& clip : Clips()) {
    out.DeclareStrings(names::kComponentsOf + clip->Name(), {kOfxImageComponentRGBA});
    out.DeclareStrings(names::kDepthOf + clip->Name(), {DepthName(setup_.depth)});
    out.DeclareDoubles(names::kPixelAspectOf + clip->Name(), {setup_.pixelAspectRatio});
  }
  out.DeclareStrings(kOfxImageEffectPropPreMultiplication, {setup_.premultiplication});
  out.DeclareStrings(names::kFieldOrder, {kOfxImageFieldNone});
  out.DeclareDoubles(kOfxImageEffectPropFrameRate, {25.0});
  out.DeclareInts(kOfxImageClipPropContinuousSamples, {0});
  out.DeclareInts(names::kFrameVarying, {0});
  return host_.Call(kOfxImageEffectActionGetClipPreferences, Handle(), nullptr, &out,
                    {kOfxStatOK, kOfxStatReplyDefault});
}

OfxStatus Instance::NotifyChanged(const std::string& name, const char* reason) {
  ++notifyDepth_;
  PropertySet reasonArgs("the arguments of kOfxActionBeginInstanceChanged");
  reasonArgs.DeclareStrings(kOfxPropChangeReason, {reason});
  PropertySet in("the arguments of kOfxActionInstanceChanged");
  in.DeclareStrings(kOfxPropType, {kOfxTypeParameter});
  in.DeclareStrings(kOfxPropName, {name});
  in.DeclareStrings(kOfxPropChangeReason, {reason});
  in.DeclareDoubles(kOfxPropTime, {0.0});
  in.DeclareDoubles(kOfxImageEffectPropRenderScale, {1.0, 1.0});
  const std::initializer_list<OfxStatus> allowed = {kOfxStatOK, kOfxStatReplyDefault};
  OfxStatus status =
      host_.Call(kOfxActionBeginInstanceChanged, Handle(), &reasonArgs, nullptr, allowed);
  const OfxStatus changed = host_.Call(kOfxActionInstanceChanged, Handle(), &in, nullptr, allowed);
  const OfxStatus end =
      host_.Call(kOfxActionEndInstanceChanged, Handle(), &reasonArgs, nullptr, allowed);
  --notifyDepth_;
  for (OfxStatus s : {changed, end}) {
    if (status == kOfxStatOK || status == kOfxStatReplyDefault) status = s;
  }
  return status == kOfxStatReplyDefault ? kOfxStatOK : status;
}

OfxStatus Instance::SetParam(const std::string& name, const std::vector<double>& values) {
  Params().At(name).SetNumbers(values);
  if (!host_.Options().notifyUserEdits) return kOfxStatOK;
  return NotifyChanged(name, kOfxChangeUserEdited);
}

OfxStatus Instance::PressButton(const std::string& name) {
  Params().At(name);
  return NotifyChanged(name, kOfxChangeUserEdited);
}

void Instance::SetSource(std::shared_ptr<HostImage> image, double renderScale) {
  source_ = std::move(image);
  sourceScale_ = renderScale;
  if (Clip* clip = FindClip(kOfxImageEffectSimpleSourceClipName)) {
    clip->Props().SetString(kOfxImageEffectPropPreMultiplication, source_->premultiplication);
    clip->Props().SetDouble(kOfxImagePropPixelAspectRatio, source_->pixelAspectRatio);
  }
}

OfxRectD Instance::SourceRegionOfDefinition() const {
  if (!source_) return {0, 0, 0, 0};
  const OfxRectI& b = source_->Bounds();
  const double sx = source_->pixelAspectRatio / sourceScale_, sy = 1.0 / sourceScale_;
  return {b.x1 * sx, b.y1 * sy, b.x2 * sx, b.y2 * sy};
}

OfxRectI Instance::ToPixels(const OfxRectD& c, double scale) const {
  const double sx = scale / setup_.pixelAspectRatio;
  return {int(std::floor(c.x1 * sx)), int(std::floor(c.y1 * scale)), int(std::ceil(c.x2 * sx)),
          int(std::ceil(c.y2 * scale))};
}

OfxStatus Instance::GetRegionOfDefinition(double time, double scale, OfxRectD* rod) {
  PropertySet in("the arguments of kOfxImageEffectActionGetRegionOfDefinition");
  in.DeclareDoubles(kOfxPropTime, {time});
  in.DeclareDoubles(kOfxImageEffectPropRenderScale, {scale, scale});
  const OfxRectD source = SourceRegionOfDefinition();
  PropertySet out("the results of kOfxImageEffectActionGetRegionOfDefinition");
  out.DeclareDoubles(kOfxImageEffectPropRegionOfDefinition,
                     {source.x1, source.y1, source.x2, source.y2});
  const OfxStatus status = host_.Call(kOfxImageEffectActionGetRegionOfDefinition, Handle(), &in,
                                      &out, {kOfxStatOK, kOfxStatReplyDefault, kOfxStatFailed});
  *rod = source;
  if (status == kOfxStatOK) {
    const std::vector<double> r = out.Doubles(kOfxImageEffectPropRegionOfDefinition);
    *rod = {r[0], r[1], r[2], r[3]};
  }
  lastRod_ = *rod;
  haveRod_ = true;
  return status == kOfxStatReplyDefault ? kOfxStatOK : status;
}

OfxStatus Instance::GetRegionOfInterest(double time, double scale, const OfxRectD& region,
                                        OfxRectD* sourceRoi) {
  PropertySet in("the arguments of kOfxImageEffectActionGetRegionsOfInterest");
  in.DeclareDoubles(kOfxPropTime, {time});
  in.DeclareDoubles(kOfxImageEffectPropRenderScale, {scale, scale});
  in.DeclareDoubles(kOfxImageEffectPropRegionOfInterest,
                    {region.x1, region.y1, region.x2, region.y2});
  PropertySet out("the results of kOfxImageEffectActionGetRegionsOfInterest");
  const std::string roiName =
      std::string(names::kRegionOfInterestOf) + kOfxImageEffectSimpleSourceClipName;
  out.DeclareDoubles(roiName, {region.x1, region.y1, region.x2, region.y2});
  const OfxStatus status = host_.Call(kOfxImageEffectActionGetRegionsOfInterest, Handle(), &in,
                                      &out, {kOfxStatOK, kOfxStatReplyDefault, kOfxStatFailed});
  const std::vector<double> r = out.Doubles(roiName);
  *sourceRoi = {r[0], r[1], r[2], r[3]};
  return status == kOfxStatReplyDefault ? kOfxStatOK : status;
}

OfxStatus Instance::GetImage(Clip& clip, OfxTime, const OfxRectD*, OfxPropertySetHandle* image) {
  *image = nullptr;
  ImageDescription d;
  if (clip.Name() == kOfxImageEffectOutputClipName) {
    const RenderCall* currentCall = CurrentRenderCall();
    if (currentCall == nullptr || currentCall->instance != this) {
      Ledger::Get().Misuse("clipGetImage of the output clip outside a render");
      return kOfxStatFailed;
    }
    d.image = currentCall->output;
    d.renderScale[0] = d.renderScale[1] = currentCall->scale;
    d.regionOfDefinition = currentCall->rod;
    d.uniqueIdentifier = "output";
  } else {
    if (!source_) return kOfxStatFailed;
    d.image = source_.get();
    d.renderScale[0] = d.renderScale[1] = sourceScale_;
    d.regionOfDefinition = source_->Bounds();
    d.uniqueIdentifier = "source";
  }
  *image = GrantImage(this, d);
  return kOfxStatOK;
}

OfxStatus Instance::GetClipRegionOfDefinition(Clip& clip, OfxTime, OfxRectD* bounds) {
  const bool output = clip.Name() == kOfxImageEffectOutputClipName;
  *bounds = output && haveRod_ ? lastRod_ : SourceRegionOfDefinition();
  return kOfxStatOK;
}

}  // namespace solvane::ofx_host
