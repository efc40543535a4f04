// The suites the host hands out through fetchSuite, one function table each.
#pragma once

#include "ofxImageEffect.h"
#include "ofxMemory.h"
#include "ofxMessage.h"
#include "ofxMultiThread.h"
#include "ofxParam.h"
#include "ofxProperty.h"

namespace solvane::ofx_host {

const OfxPropertySuiteV1& PropertySuite();
const OfxParameterSuiteV1& ParameterSuite();
const OfxImageEffectSuiteV1& ImageEffectSuite();
const OfxMemorySuiteV1& MemorySuite();
const OfxMultiThreadSuiteV1& MultiThreadSuite();
const OfxMessageSuiteV1& MessageSuiteV1();
const OfxMessageSuiteV2& MessageSuiteV2();

}  // namespace solvane::ofx_host
