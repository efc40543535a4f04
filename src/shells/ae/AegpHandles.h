// Owners of the AEGP handles a handler obtains from the host: this instance's effect handle
// and the stream of one of its parameters. Each gives its handle back exactly once, on
// every way out: Dispose() on the normal way, which answers the host's result for the
// handler to report; the destructor when an exception (a missing suite) unwinds past it,
// where no result can be reported.
#pragma once

#include "shells/ae/HostApi.h"
#include "shells/ae/HostSuiteCache.h"

namespace solvane {

class ScopedEffectHandle {
 public:
  explicit ScopedEffectHandle(HostSuiteCache& suites) : suites_(suites) {}
  ~ScopedEffectHandle();
  ScopedEffectHandle(const ScopedEffectHandle&) = delete;
  ScopedEffectHandle& operator=(const ScopedEffectHandle&) = delete;

  // AEGP_GetNewEffectForEffect for the instance effect_ref names.
  PF_Err Obtain(PF_ProgPtr effectRef);
  AEGP_EffectRefH get() const { return effect_; }
  // AEGP_DisposeEffect once a handle was obtained; PF_Err_NONE and no host call otherwise.
  PF_Err Dispose();

 private:
  HostSuiteCache& suites_;
  AEGP_EffectRefH effect_ = nullptr;
};

class ScopedStream {
 public:
  explicit ScopedStream(HostSuiteCache& suites) : suites_(suites) {}
  ~ScopedStream();
  ScopedStream(const ScopedStream&) = delete;
  ScopedStream& operator=(const ScopedStream&) = delete;

  // AEGP_GetNewEffectStreamByIndex for the parameter at index of effect.
  PF_Err Obtain(AEGP_EffectRefH effect, PF_ParamIndex index);
  AEGP_StreamRefH get() const { return stream_; }
  // AEGP_DisposeStream once a stream was obtained; PF_Err_NONE and no host call otherwise.
  PF_Err Dispose();

 private:
  HostSuiteCache& suites_;
  AEGP_StreamRefH stream_ = nullptr;
};

}  // namespace solvane
