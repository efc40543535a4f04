#include "shells/ae/AegpHandles.h"

#include <utility>

namespace solvane {
namespace {

constexpr AEGP_PluginID kNoPluginId = 0;

}  // namespace

ScopedEffectHandle::~ScopedEffectHandle() {
  try {
    Dispose();
  } catch (...) {
    // Without the effect suite the handle cannot be given back; the first error stands.
  }
}

PF_Err ScopedEffectHandle::Obtain(PF_ProgPtr effectRef) {
  return suites_.PfInterface()->AEGP_GetNewEffectForEffect(kNoPluginId, effectRef, &effect_);
}

PF_Err ScopedEffectHandle::Dispose() {
  if (effect_ == nullptr) return PF_Err_NONE;
  // Given up before the call, so that a missing suite is not asked for a second time.
  const AEGP_EffectRefH effect = std::exchange(effect_, nullptr);
  return suites_.Effect()->AEGP_DisposeEffect(effect);
}

ScopedStream::~ScopedStream() {
  try {
    Dispose();
  } catch (...) {
    // Without the stream suite the stream cannot be given back; the first error stands.
  }
}

PF_Err ScopedStream::Obtain(AEGP_EffectRefH effect, PF_ParamIndex index) {
  return suites_.Stream()->AEGP_GetNewEffectStreamByIndex(kNoPluginId, effect, index, &stream_);
}

PF_Err ScopedStream::Dispose() {
  if (stream_ == nullptr) return PF_Err_NONE;
  const AEGP_StreamRefH stream = std::exchange(stream_, nullptr);
  return suites_.Stream()->AEGP_DisposeStream(stream);
}

}  // namespace solvane
