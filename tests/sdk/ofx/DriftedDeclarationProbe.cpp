// A context name one letter off, as a mistyped declaration would be: the generated checks
// must refuse to compile it (the test expects this file to fail).
#include <cstddef>
#include <string_view>
#include <type_traits>

#include "ofxCore.h"
#include "ofxGPURender.h"
#include "ofxImageEffect.h"
#include "ofxMemory.h"
#include "ofxMessage.h"
#include "ofxMultiThread.h"
#include "ofxParam.h"
#include "ofxProperty.h"

#undef kOfxImageEffectContextFilter
#define kOfxImageEffectContextFilter "OfxImageEffectContextFilters"

#include "OfxInterfaceChecks.h"
