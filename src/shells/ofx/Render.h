// The render action: the source image through the render core into the output image's
// render window.
#pragma once

#include "ofxImageEffect.h"

namespace solvane::ofx {

OfxStatus Render(OfxImageEffectHandle effect, OfxPropertySetHandle inArgs);

}  // namespace solvane::ofx
