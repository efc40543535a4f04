/* The multi-thread suite: the host's threads and mutexes. Our own declarations. */
#ifndef SOLVANE_SDK_OFX_MULTITHREAD_H
#define SOLVANE_SDK_OFX_MULTITHREAD_H

#include "ofxCore.h"

#define kOfxMultiThreadSuite "OfxMultiThreadSuite"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OfxMutex* OfxMutexHandle;
typedef void(OfxThreadFunctionV1)(unsigned int threadIndex, unsigned int threadMax,
                                  void* customArg);

typedef struct OfxMultiThreadSuiteV1 {
  OfxStatus (*multiThread)(OfxThreadFunctionV1 func, unsigned int nThreads, void* customArg);
  OfxStatus (*multiThreadNumCPUs)(unsigned int* nCPUs);
  OfxStatus (*multiThreadIndex)(unsigned int* threadIndex);
  int (*multiThreadIsSpawnedThread)(void);
  OfxStatus (*mutexCreate)(OfxMutexHandle* mutex, int lockCount);
  OfxStatus (*mutexDestroy)(const OfxMutexHandle mutex);
  OfxStatus (*mutexLock)(const OfxMutexHandle mutex);
  OfxStatus (*mutexUnLock)(const OfxMutexHandle mutex);
  OfxStatus (*mutexTryLock)(const OfxMutexHandle mutex);
} OfxMultiThreadSuiteV1;

#ifdef __cplusplus
}
#endif

#endif
