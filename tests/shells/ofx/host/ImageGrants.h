// Images handed to the plug-in through clipGetImage: each grant is an image property set
// describing host-owned pixels, live until clipReleaseImage. The host counts the grants
// of each instance, so a render that returns holding one is found.
#pragma once

#include <cstddef>
#include <string>

#include "HostImage.h"
#include "ofxCore.h"

namespace solvane::ofx_host {

class Effect;

struct ImageDescription {
  const HostImage* image = nullptr;
  double renderScale[2] = {1.0, 1.0};
  OfxRectI regionOfDefinition{0, 0, 0, 0};  // pixel coordinates
  std::string uniqueIdentifier;
};

// A new image property set for the plug-in, counted in the ledger.
OfxPropertySetHandle GrantImage(const Effect* effect, const ImageDescription& description);
// kOfxStatErrBadHandle (and a misuse) for a handle that is not an outstanding image.
OfxStatus ReleaseImage(OfxPropertySetHandle handle);
// Images of `effect` (any effect, for null) not released yet.
size_t OutstandingImages(const Effect* effect);
// Releases what `effect` still holds, as a host does when an instance goes; returns how
// many there were.
size_t ReclaimImages(const Effect* effect);

}  // namespace solvane::ofx_host
