// The image effect objects the host hands the plug-in: the plug-in's descriptor, its
// descriptor in a context (with clips), and instances. Each has a property set, a
// parameter set and clips; instances answer image requests (Instance.h).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "LiveHandles.h"
#include "ParamSet.h"
#include "PropertySet.h"
#include "ofxImageEffect.h"

namespace solvane::ofx_host {

class Effect;

class Clip {
 public:
  // A clip descriptor's properties.
  Clip(std::string name, Effect* effect);
  // An instance's clip, from its descriptor's properties.
  Clip(const Clip& descriptor, Effect* effect);
  Clip& operator=(const Clip&) = delete;

  OfxImageClipHandle Handle() const {
    return reinterpret_cast<OfxImageClipHandle>(const_cast<Clip*>(this));
  }
  static Clip* FromHandle(const void* handle) { return LiveHandles<Clip>::Find(handle); }
  const std::string& Name() const { return name_; }
  PropertySet& Props() { return props_; }
  const PropertySet& Props() const { return props_; }
  Effect* Owner() const { return effect_; }

 private:
  std::string name_;
  Effect* effect_;
  PropertySet props_;
  LiveHandle<Clip> live_{this};
};

enum class EffectKind { kPluginDescriptor, kContextDescriptor, kInstance };

class Effect {
 public:
  Effect(EffectKind kind, const std::string& owner);
  // A context's descriptor, with the plug-in descriptor's properties.
  Effect(const Effect& pluginDescriptor, const std::string& owner);
  virtual ~Effect() = default;
  Effect& operator=(const Effect&) = delete;

  OfxImageEffectHandle Handle() const {
    return reinterpret_cast<OfxImageEffectHandle>(const_cast<Effect*>(this));
  }
  static Effect* FromHandle(const void* handle) { return LiveHandles<Effect>::Find(handle); }

  EffectKind Kind() const { return kind_; }
  PropertySet& Props() { return props_; }
  const PropertySet& Props() const { return props_; }
  ParamSet& Params() { return *params_; }
  const ParamSet& Params() const { return *params_; }
  const std::vector<std::unique_ptr<Clip>>& Clips() const { return clips_; }
  Clip* FindClip(const std::string& name) const;

  // The suite's clipDefine: only in a context's describe; kOfxStatErrExists for a
  // second clip of a name.
  OfxStatus DefineClip(const char* name, OfxPropertySetHandle* props);

  // Image access, for instances; a descriptor has no images.
  virtual OfxStatus GetImage(Clip& clip, OfxTime time, const OfxRectD* region,
                             OfxPropertySetHandle* image);
  virtual OfxStatus GetClipRegionOfDefinition(Clip& clip, OfxTime time, OfxRectD* bounds);
  virtual int Aborted() const { return 0; }

 protected:
  // An instance's parameters and clips start as copies of its context descriptor's.
  void CopyFrom(const Effect& descriptor);

 private:
  EffectKind kind_;
  PropertySet props_;
  std::unique_ptr<ParamSet> params_;
  std::vector<std::unique_ptr<Clip>> clips_;
  LiveHandle<Effect> live_{this};
};

}  // namespace solvane::ofx_host
