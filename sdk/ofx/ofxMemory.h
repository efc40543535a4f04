/* The memory suite: host-owned memory for the plug-in. Our own declarations. */
#ifndef SOLVANE_SDK_OFX_MEMORY_H
#define SOLVANE_SDK_OFX_MEMORY_H

#include <stddef.h>

#include "ofxCore.h"

#define kOfxMemorySuite "OfxMemorySuite"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OfxMemorySuiteV1 {
  OfxStatus (*memoryAlloc)(void* handle, size_t nBytes, void** allocatedData);
  OfxStatus (*memoryFree)(void* allocatedData);
} OfxMemorySuiteV1;

#ifdef __cplusplus
}
#endif

#endif
