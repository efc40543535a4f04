// Access to host suites for the length of one command. HostSuiteCache acquires each suite
// on first use and releases everything it acquired when it goes out of scope, exceptions
// included; ScopedSuite is a single acquisition that tells the user when it fails.
#pragma once

#include "shells/ae/HostApi.h"

namespace solvane {

// Codes thrown (as A_long) when a suite is missing; the dispatcher returns them.
inline constexpr A_long kMissingSuiteError = PF_Err_BAD_CALLBACK_PARAM;
inline constexpr A_long kMissingWorldSuiteError = A_Err_MISSING_SUITE;

// The handle suite is requested at version 2 under the version-1 function table.
inline constexpr int32_t kHandleSuiteVersion = 2;

class HostSuiteCache {
 public:
  // Throws kMissingSuiteError when basic is null.
  explicit HostSuiteCache(SPBasicSuite* basic);
  ~HostSuiteCache();
  HostSuiteCache(const HostSuiteCache&) = delete;
  HostSuiteCache& operator=(const HostSuiteCache&) = delete;

  // Each accessor throws kMissingSuiteError when the host cannot supply the suite.
  const PF_ANSICallbacksSuite1* Ansi();
  const PF_HandleSuite1* Handle();
  const AEGP_PFInterfaceSuite1* PfInterface();
  const AEGP_LayerSuite7* Layer();
  const AEGP_EffectSuite2* Effect();
  const AEGP_StreamSuite2* Stream();
  const AEGP_DynamicStreamSuite2* DynamicStream();
  const PF_ParamUtilsSuite3* ParamUtils();
  const PF_WorldTransformSuite1* WorldTransform();

 private:
  struct Slot {
    const char* name;
    int32_t version;
    const void* suite = nullptr;
  };
  enum SlotIndex { kAnsi, kHandle, kPfInterface, kLayer, kEffect, kStream, kDynamicStream,
                   kParamUtils, kWorldTransform, kSlotCount };

  const void* Acquire(SlotIndex index);

  SPBasicSuite* basic_;
  Slot slots_[kSlotCount];
};

class ScopedSuite {
 public:
  // Acquires at once; on failure flags the error for display (when out_data is present),
  // writes the message with the host's sprintf and throws kMissingWorldSuiteError.
  ScopedSuite(PF_InData* in_data, PF_OutData* out_data, const char* name, int32_t version);
  ~ScopedSuite();
  ScopedSuite(const ScopedSuite&) = delete;
  ScopedSuite& operator=(const ScopedSuite&) = delete;

  const void* get() const { return suite_; }

 private:
  SPBasicSuite* basic_;
  const char* name_;
  int32_t version_;
  const void* suite_ = nullptr;
};

}  // namespace solvane
