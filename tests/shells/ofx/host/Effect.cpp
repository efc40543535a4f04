#include "Effect.h"

#include "ObjectProperties.h"

namespace solvane::ofx_host {

Clip::Clip(std::string name, Effect* effect)
    : name_(std::move(name)), effect_(effect), props_("clip " + name_) {
  DeclareClipDescriptorProperties(props_, name_);
}

Clip::Clip(const Clip& descriptor, Effect* effect)
    : name_(descriptor.name_), effect_(effect), props_(descriptor.props_) {
  DeclareClipInstanceProperties(props_);
}

Effect::Effect(EffectKind kind, const std::string& owner)
    : kind_(kind), props_(owner), params_(std::make_unique<ParamSet>(owner)) {
  if (kind != EffectKind::kInstance) DeclareDescriptorProperties(props_);
}

Effect::Effect(const Effect& pluginDescriptor, const std::string& owner)
    : kind_(EffectKind::kContextDescriptor),
      props_(pluginDescriptor.props_),
      params_(std::make_unique<ParamSet>(owner)) {}

Clip* Effect::FindClip(const std::string& name) const {
  for (const auto& clip : clips_) {
    if (clip->Name() == name) return clip.get();
  }
  return nullptr;
}

OfxStatus Effect::DefineClip(const char* name, OfxPropertySetHandle* props) {
  if (name == nullptr || *name == '\0') return kOfxStatErrValue;
  if (kind_ != EffectKind::kContextDescriptor) return kOfxStatErrValue;
  if (FindClip(name) != nullptr) return kOfxStatErrExists;
  clips_.push_back(std::make_unique<Clip>(name, this));
  if (props != nullptr) *props = clips_.back()->Props().Handle();
  return kOfxStatOK;
}

OfxStatus Effect::GetImage(Clip&, OfxTime, const OfxRectD*, OfxPropertySetHandle* image) {
  if (image != nullptr) *image = nullptr;
  return kOfxStatFailed;
}

OfxStatus Effect::GetClipRegionOfDefinition(Clip&, OfxTime, OfxRectD*) {
  return kOfxStatFailed;
}

void Effect::CopyFrom(const Effect& descriptor) {
  params_ = std::make_unique<ParamSet>(descriptor.Params(), props_.Owner());
  clips_.clear();
  for (const auto& clip : descriptor.clips_) clips_.push_back(std::make_unique<Clip>(*clip, this));
}

}  // namespace solvane::ofx_host
