// The host's suites, fetched once when the host hands itself over (setHost) and read by
// every action afterwards. The property, image effect and parameter suites are required;
// memory, multi-thread and message suites are used where the host has them.
#pragma once

#include "ofxCore.h"
#include "ofxImageEffect.h"
#include "ofxMemory.h"
#include "ofxMessage.h"
#include "ofxMultiThread.h"
#include "ofxParam.h"
#include "ofxProperty.h"

namespace solvane::ofx {

struct HostSuites {
  OfxHost* host = nullptr;
  // What the host record held when handed over: a new host may reuse the old one's memory.
  OfxPropertySetHandle hostProperties = nullptr;
  const void* (*fetchSuite)(OfxPropertySetHandle, const char*, int) = nullptr;
  const OfxPropertySuiteV1* property = nullptr;
  const OfxImageEffectSuiteV1* effect = nullptr;
  const OfxParameterSuiteV1* param = nullptr;
  const OfxMemorySuiteV1* memory = nullptr;            // may be null
  const OfxMultiThreadSuiteV1* multiThread = nullptr;  // may be null
  const OfxMessageSuiteV1* message = nullptr;          // may be null
  // MLT seeds a 2D parameter with its default as declared and never turns a normalised
  // default into canonical coordinates, so an untouched "Position" arrives as (0.5, 0.5).
  bool passesNormalisedDefaultsRaw = false;
};

// Fetches the suites of `host`; a host handing itself over again changes nothing, and may
// do so while other threads render. The required ones missing, Load fails.
void SetHost(OfxHost* host);
const HostSuites& Suites();

// Load and Unload, counted: once every Load has had its Unload the host is forgotten, so a
// host that comes next is asked for its suites even where its record reuses the old one's
// memory. Hosts may load several times (MLT does for every instance).
void NoteLoad();
void NoteUnload();
bool HasRequiredSuites();

}  // namespace solvane::ofx
