/* The message suite: messages from the plug-in to its user. Our own declarations. */
#ifndef SOLVANE_SDK_OFX_MESSAGE_H
#define SOLVANE_SDK_OFX_MESSAGE_H

#include "ofxCore.h"

#define kOfxMessageSuite "OfxMessageSuite"

#define kOfxMessageFatal "OfxMessageFatal"
#define kOfxMessageError "OfxMessageError"
#define kOfxMessageWarning "OfxMessageWarning"
#define kOfxMessageMessage "OfxMessageMessage"
#define kOfxMessageLog "OfxMessageLog"
#define kOfxMessageQuestion "OfxMessageQuestion"

#ifdef __cplusplus
extern "C" {
#endif

/* handle: the effect instance, or null for none. format is printf's. */
typedef struct OfxMessageSuiteV1 {
  OfxStatus (*message)(void* handle, const char* messageType, const char* messageId,
                       const char* format, ...);
} OfxMessageSuiteV1;

/* Version 2 adds a message that stays on the effect until cleared. */
typedef struct OfxMessageSuiteV2 {
  OfxStatus (*message)(void* handle, const char* messageType, const char* messageId,
                       const char* format, ...);
  OfxStatus (*setPersistentMessage)(void* handle, const char* messageType,
                                    const char* messageId, const char* format, ...);
  OfxStatus (*clearPersistentMessage)(void* handle);
} OfxMessageSuiteV2;

#ifdef __cplusplus
}
#endif

#endif
