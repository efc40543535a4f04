#include "ImageGrants.h"

#include <map>
#include <memory>
#include <mutex>

#include "Ledger.h"
#include "ObjectProperties.h"
#include "PropertySet.h"
#include "ofxImageEffect.h"

namespace solvane::ofx_host {
namespace {

struct Grant {
  const Effect* effect;
  PropertySet props{"an image"};
};

std::mutex grantsMutex;
std::map<const PropertySet*, std::unique_ptr<Grant>> grants;

}  // namespace

OfxPropertySetHandle GrantImage(const Effect* effect, const ImageDescription& d) {
  auto grant = std::make_unique<Grant>();
  grant->effect = effect;
  PropertySet& p = grant->props;
  DeclareImageProperties(p);
  const HostImage& image = *d.image;
  p.SetString(kOfxImageEffectPropPixelDepth, DepthName(image.PixelDepth()));
  p.SetString(kOfxImageEffectPropPreMultiplication, image.premultiplication);
  p.SetDouble(kOfxImageEffectPropRenderScale, d.renderScale[0], 0);
  p.SetDouble(kOfxImageEffectPropRenderScale, d.renderScale[1], 1);
  p.SetDouble(kOfxImagePropPixelAspectRatio, image.pixelAspectRatio);
  p.SetPointer(kOfxImagePropData, const_cast<void*>(image.Data()));
  const OfxRectI& b = image.Bounds();
  const int bounds[4] = {b.x1, b.y1, b.x2, b.y2};
  const OfxRectI& r = d.regionOfDefinition;
  const int rod[4] = {r.x1, r.y1, r.x2, r.y2};
  for (int i = 0; i < 4; ++i) {
    p.SetInt(kOfxImagePropBounds, bounds[i], i);
    p.SetInt(kOfxImagePropRegionOfDefinition, rod[i], i);
  }
  p.SetInt(kOfxImagePropRowBytes, image.RowBytes());
  p.SetString(kOfxImagePropUniqueIdentifier, d.uniqueIdentifier);
  const OfxPropertySetHandle handle = p.Handle();
  {
    std::lock_guard lock(grantsMutex);
    grants.emplace(&grant->props, std::move(grant));
  }
  Ledger::Get().AddCounts({.images = 1}, true);
  return handle;
}

OfxStatus ReleaseImage(OfxPropertySetHandle handle) {
  std::unique_ptr<Grant> released;
  {
    std::lock_guard lock(grantsMutex);
    const auto found = grants.find(reinterpret_cast<const PropertySet*>(handle));
    if (found != grants.end()) {
      released = std::move(found->second);
      grants.erase(found);
    }
  }
  if (!released) {
    Ledger::Get().Misuse("clipReleaseImage of a handle that is not an image held");
    return kOfxStatErrBadHandle;
  }
  Ledger::Get().AddCounts({.images = 1}, false);
  return kOfxStatOK;
}

size_t OutstandingImages(const Effect* effect) {
  std::lock_guard lock(grantsMutex);
  size_t count = 0;
  for (const auto& [props, grant] : grants) count += !effect || grant->effect == effect ? 1 : 0;
  return count;
}

size_t ReclaimImages(const Effect* effect) {
  std::map<const PropertySet*, std::unique_ptr<Grant>> reclaimed;
  {
    std::lock_guard lock(grantsMutex);
    for (auto it = grants.begin(); it != grants.end();) {
      if (it->second->effect == effect) {
        reclaimed.insert(grants.extract(it++));
      } else {
        ++it;
      }
    }
  }
  Ledger::Get().AddCounts({.images = reclaimed.size()}, false);
  return reclaimed.size();
}

}  // namespace solvane::ofx_host
