// Basic scalar types of the host interface, under the names the After Effects SDK gives
// them. Our own declarations: only what the effect and the stand-in host use.
#pragma once

#include <stdint.h>

typedef int32_t A_long;
typedef uint32_t A_u_long;
typedef int16_t A_short;
typedef uint16_t A_u_short;
typedef char A_char;
typedef unsigned char A_u_char;
typedef unsigned char A_Boolean;
typedef uint64_t A_u_longlong;
typedef double A_FpLong;
typedef float A_FpShort;
typedef A_long A_Err;
typedef A_u_longlong A_HandleSize;

// Records the effect only passes by pointer; their contents are the host's.
typedef struct A_Time A_Time;
typedef struct A_Matrix4 A_Matrix4;
typedef struct _Up_OpaqueMem** AEGP_MemHandle;

enum {
  A_Err_NONE = 0,
  A_Err_GENERIC = 1,
  A_Err_STRUCT = 2,
  A_Err_PARAMETER = 3,
  A_Err_ALLOC = 4,
  A_Err_MISSING_SUITE = 13
};
