// The regions actions: the output's region of definition is the source's grown by
// "Buffer Expansion" on every side, and every render reads the whole source.
#pragma once

#include "ofxImageEffect.h"

namespace solvane::ofx {

OfxStatus GetRegionOfDefinition(OfxImageEffectHandle effect, OfxPropertySetHandle inArgs,
                                OfxPropertySetHandle outArgs);
OfxStatus GetRegionsOfInterest(OfxImageEffectHandle effect, OfxPropertySetHandle inArgs,
                               OfxPropertySetHandle outArgs);
// The output clip keeps the source's premultiplication; an opaque source gives a
// premultiplied output, since the rays can carry alpha.
OfxStatus GetClipPreferences(OfxImageEffectHandle effect, OfxPropertySetHandle outArgs);

}  // namespace solvane::ofx
