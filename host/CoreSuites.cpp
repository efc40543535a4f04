#include "host/CoreSuites.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "AE_EffectCBSuites.h"
#include "host/Host.h"

namespace solvane::host {
namespace {

constexpr int32_t kNoCommand = 0x21436d64;  // a callback outside any command

SPErr AcquireSuite(const char* name, int32_t version, const void** suite) {
  Host* host = Host::Current();
  if (host == nullptr) return kNoCommand;
  const std::string call = std::string("AcquireSuite ") + name;
  if (PF_Err err = host->Enter(call)) return err;
  return host->Suites().Acquire(name, version, suite);
}

SPErr ReleaseSuite(const char* name, int32_t version) {
  Host* host = Host::Current();
  if (host == nullptr) return kNoCommand;
  host->Log().Record(std::string("ReleaseSuite ") + name);
  return host->Suites().Release(name, version);
}

SPBoolean IsEqual(const char* a, const char* b) { return std::strcmp(a, b) == 0; }
SPErr AllocateBlock(size_t size, void** block) {
  *block = std::malloc(size);
  return *block == nullptr ? 1 : 0;
}
SPErr FreeBlock(void* block) {
  std::free(block);
  return 0;
}
SPErr ReallocateBlock(void* block, size_t size, void** out) {
  *out = std::realloc(block, size);
  return *out == nullptr ? 1 : 0;
}
SPErr Undefined() { return 0; }

// The effect formats only into host message buffers, which hold PF_MAX_EFFECT_MSG_LEN
// characters and a terminator; the host never writes past that.
int HostSprintf(A_char* buffer, const A_char* format, ...) {
  if (Host* host = Host::Current()) host->Log().Record("sprintf");
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buffer, PF_MAX_EFFECT_MSG_LEN + 1, format, args);
  va_end(args);
  return n;
}

A_char* HostStrcpy(A_char* destination, const A_char* source) {
  if (Host* host = Host::Current()) host->Log().Record("strcpy");
  return std::strcpy(destination, source);
}

PF_Handle NewHandle(A_HandleSize size) {
  Host* host = Host::Current();
  if (host == nullptr || host->Enter("host_new_handle") != PF_Err_NONE) return nullptr;
  return host->Handles().New(size);
}
void* LockHandle(PF_Handle handle) {
  Host* host = Host::Current();
  if (host == nullptr || host->Enter("host_lock_handle") != PF_Err_NONE) return nullptr;
  return host->Handles().Lock(handle);
}
void UnlockHandle(PF_Handle handle) {
  if (Host* host = Host::Current()) {
    host->Log().Record("host_unlock_handle");
    host->Handles().Unlock(handle);
  }
}
void DisposeHandle(PF_Handle handle) {
  if (Host* host = Host::Current()) {
    host->Log().Record("host_dispose_handle");
    host->Handles().Dispose(handle);
  }
}
A_HandleSize HandleSize(PF_Handle handle) {
  Host* host = Host::Current();
  return host == nullptr ? 0 : host->Handles().Size(handle);
}
PF_Err ResizeHandle(A_HandleSize, PF_Handle*) { return PF_Err_INVALID_CALLBACK; }

A_FpLong Atan(A_FpLong x) { return std::atan(x); }
A_FpLong Atan2(A_FpLong y, A_FpLong x) { return std::atan2(y, x); }
A_FpLong Ceil(A_FpLong x) { return std::ceil(x); }
A_FpLong Cos(A_FpLong x) { return std::cos(x); }
A_FpLong Exp(A_FpLong x) { return std::exp(x); }
A_FpLong Fabs(A_FpLong x) { return std::fabs(x); }
A_FpLong Floor(A_FpLong x) { return std::floor(x); }
A_FpLong Fmod(A_FpLong x, A_FpLong y) { return std::fmod(x, y); }
A_FpLong Hypot(A_FpLong x, A_FpLong y) { return std::hypot(x, y); }
A_FpLong Log(A_FpLong x) { return std::log(x); }
A_FpLong Log10(A_FpLong x) { return std::log10(x); }
A_FpLong Pow(A_FpLong x, A_FpLong y) { return std::pow(x, y); }
A_FpLong Sin(A_FpLong x) { return std::sin(x); }
A_FpLong Sqrt(A_FpLong x) { return std::sqrt(x); }
A_FpLong Tan(A_FpLong x) { return std::tan(x); }
A_FpLong Asin(A_FpLong x) { return std::asin(x); }
A_FpLong Acos(A_FpLong x) { return std::acos(x); }

const PF_ANSICallbacksSuite1 kAnsiSuite = {Atan, Atan2, Ceil, Cos,  Exp,         Fabs,
                                           Floor, Fmod, Hypot, Log, Log10,       Pow,
                                           Sin,  Sqrt,  Tan,   HostSprintf, HostStrcpy, Asin,
                                           Acos};

const PF_HandleSuite1 kHandleSuite = {NewHandle,  LockHandle, UnlockHandle,
                                      DisposeHandle, HandleSize, ResizeHandle};

}  // namespace

SPBasicSuite* BasicSuite() {
  static SPBasicSuite suite = {AcquireSuite, ReleaseSuite, IsEqual, AllocateBlock,
                               FreeBlock,    ReallocateBlock, Undefined};
  return &suite;
}

PF_UtilCallbacks* UtilCallbacks() {
  static PF_UtilCallbacks utils = [] {
    PF_UtilCallbacks u{};
    u.host_new_handle = NewHandle;
    u.host_lock_handle = LockHandle;
    u.host_unlock_handle = UnlockHandle;
    u.host_dispose_handle = DisposeHandle;
    u.host_get_handle_size = HandleSize;
    u.ansi = {Atan, Atan2, Ceil, Cos,  Exp,  Fabs,        Floor,      Fmod, Hypot, Log,
              Log10, Pow,  Sin,  Sqrt, Tan,  HostSprintf, HostStrcpy, Asin, Acos,  {0}};
    return u;
  }();
  return &utils;
}

void OfferCoreSuites(SuiteRegistry& suites) {
  suites.Offer(kPFANSISuite, kPFANSISuiteVersion1, &kAnsiSuite);
  suites.Offer(kPFHandleSuite, 1, &kHandleSuite);
  suites.Offer(kPFHandleSuite, 2, &kHandleSuite);
}

}  // namespace solvane::host
