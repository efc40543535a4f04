// The SP Basic suite: the host's directory of suites, handed out by name and version.
#pragma once

#include <stddef.h>
#include <stdint.h>

#define SPAPI

typedef int32_t SPErr;
// A Windows BOOL, four bytes.
typedef int32_t SPBoolean;

enum { kSPNoError = 0 };

typedef struct SPBasicSuite {
  SPAPI SPErr (*AcquireSuite)(const char* name, int32_t version, const void** suite);
  SPAPI SPErr (*ReleaseSuite)(const char* name, int32_t version);
  SPAPI SPBoolean (*IsEqual)(const char* token1, const char* token2);
  SPAPI SPErr (*AllocateBlock)(size_t size, void** block);
  SPAPI SPErr (*FreeBlock)(void* block);
  SPAPI SPErr (*ReallocateBlock)(void* block, size_t newSize, void** newblock);
  SPAPI SPErr (*Undefined)(void);
} SPBasicSuite;
