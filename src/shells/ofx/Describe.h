// The describe actions: what the plug-in is and supports, and, per context, its clips and
// parameters from the control table.
#pragma once

#include "ofxImageEffect.h"

namespace solvane::ofx {

inline constexpr char kPluginIdentifier[] = "com.brindel.solvane";

OfxStatus Describe(OfxImageEffectHandle effect);
OfxStatus DescribeInContext(OfxImageEffectHandle effect, OfxPropertySetHandle inArgs);

}  // namespace solvane::ofx
