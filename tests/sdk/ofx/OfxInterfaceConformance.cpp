// Holds the OpenFX declarations to the OpenFX headers: every string, constant, size,
// alignment, offset and slot type of ofx-interface.tsv is a static_assert, so a declaration
// that drifts fails to compile on Win64 and on Linux.
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

#include "OfxInterfaceChecks.h"
