#include "shells/ae/HostSuiteCache.h"

namespace solvane {

HostSuiteCache::HostSuiteCache(SPBasicSuite* basic)
    : basic_(basic),
      slots_{{kPFANSISuite, kPFANSISuiteVersion1},
             {kPFHandleSuite, kHandleSuiteVersion},
             {kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1},
             {kAEGPLayerSuite, kAEGPLayerSuiteVersion7},
             {kAEGPEffectSuite, kAEGPEffectSuiteVersion2},
             {kAEGPStreamSuite, kAEGPStreamSuiteVersion2},
             {kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion2},
             {kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3},
             {kPFWorldTransformSuite, kPFWorldTransformSuiteVersion1}} {
  if (basic_ == nullptr) throw A_long{kMissingSuiteError};
}

HostSuiteCache::~HostSuiteCache() {
  for (const Slot& slot : slots_) {
    if (slot.suite != nullptr) basic_->ReleaseSuite(slot.name, slot.version);
  }
}

const void* HostSuiteCache::Acquire(SlotIndex index) {
  Slot& slot = slots_[index];
  if (slot.suite == nullptr) {
    const void* suite = nullptr;
    if (basic_->AcquireSuite(slot.name, slot.version, &suite) != kSPNoError ||
        suite == nullptr) {
      throw A_long{kMissingSuiteError};
    }
    slot.suite = suite;
  }
  return slot.suite;
}

const PF_ANSICallbacksSuite1* HostSuiteCache::Ansi() {
  return static_cast<const PF_ANSICallbacksSuite1*>(Acquire(kAnsi));
}
const PF_HandleSuite1* HostSuiteCache::Handle() {
  return static_cast<const PF_HandleSuite1*>(Acquire(kHandle));
}
const AEGP_PFInterfaceSuite1* HostSuiteCache::PfInterface() {
  return static_cast<const AEGP_PFInterfaceSuite1*>(Acquire(kPfInterface));
}
const AEGP_LayerSuite7* HostSuiteCache::Layer() {
  return static_cast<const AEGP_LayerSuite7*>(Acquire(kLayer));
}
const AEGP_EffectSuite2* HostSuiteCache::Effect() {
  return static_cast<const AEGP_EffectSuite2*>(Acquire(kEffect));
}
const AEGP_StreamSuite2* HostSuiteCache::Stream() {
  return static_cast<const AEGP_StreamSuite2*>(Acquire(kStream));
}
const AEGP_DynamicStreamSuite2* HostSuiteCache::DynamicStream() {
  return static_cast<const AEGP_DynamicStreamSuite2*>(Acquire(kDynamicStream));
}
const PF_ParamUtilsSuite3* HostSuiteCache::ParamUtils() {
  return static_cast<const PF_ParamUtilsSuite3*>(Acquire(kParamUtils));
}
const PF_WorldTransformSuite1* HostSuiteCache::WorldTransform() {
  return static_cast<const PF_WorldTransformSuite1*>(Acquire(kWorldTransform));
}

ScopedSuite::ScopedSuite(PF_InData* in_data, PF_OutData* out_data, const char* name,
                         int32_t version)
    : basic_(in_data->pica_basicP), name_(name), version_(version) {
  const void* suite = nullptr;
  if (basic_ == nullptr || basic_->AcquireSuite(name, version, &suite) != kSPNoError) {
    if (out_data != nullptr) {
      out_data->out_flags |= PF_OutFlag_DISPLAY_ERROR_MESSAGE;
      PF_SPRINTF(out_data->return_msg, "Not able to acquire AEFX Suite.");
    }
    throw A_long{kMissingWorldSuiteError};
  }
  suite_ = suite;
}

ScopedSuite::~ScopedSuite() {
  if (suite_ != nullptr) basic_->ReleaseSuite(name_, version_);
}

}  // namespace solvane
