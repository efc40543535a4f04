// The image effect suite: property and parameter sets of effects, clips, images and
// image memory. Clip definitions are accepted only while a context is described.
#include <mutex>
#include <vector>

#include "Effect.h"
#include "ImageGrants.h"
#include "Ledger.h"
#include "Suites.h"

namespace solvane::ofx_host {
namespace {

OfxStatus GetPropertySet(OfxImageEffectHandle handle, OfxPropertySetHandle* props) {
  Effect* effect = Effect::FromHandle(handle);
  if (effect == nullptr) return kOfxStatErrBadHandle;
  if (props == nullptr) return kOfxStatErrValue;
  *props = effect->Props().Handle();
  return kOfxStatOK;
}

OfxStatus GetParamSet(OfxImageEffectHandle handle, OfxParamSetHandle* params) {
  Effect* effect = Effect::FromHandle(handle);
  if (effect == nullptr) return kOfxStatErrBadHandle;
  if (params == nullptr) return kOfxStatErrValue;
  *params = effect->Params().Handle();
  return kOfxStatOK;
}

OfxStatus ClipDefine(OfxImageEffectHandle handle, const char* name, OfxPropertySetHandle* props) {
  Effect* effect = Effect::FromHandle(handle);
  return effect == nullptr ? kOfxStatErrBadHandle : effect->DefineClip(name, props);
}

OfxStatus ClipGetHandle(OfxImageEffectHandle handle, const char* name, OfxImageClipHandle* clip,
                        OfxPropertySetHandle* props) {
  Effect* effect = Effect::FromHandle(handle);
  if (effect == nullptr) return kOfxStatErrBadHandle;
  if (name == nullptr) return kOfxStatErrUnknown;
  Clip* found = effect->FindClip(name);
  if (found == nullptr) return kOfxStatErrUnknown;
  if (clip != nullptr) *clip = found->Handle();
  if (props != nullptr) *props = found->Props().Handle();
  return kOfxStatOK;
}

OfxStatus ClipGetPropertySet(OfxImageClipHandle handle, OfxPropertySetHandle* props) {
  Clip* clip = Clip::FromHandle(handle);
  if (clip == nullptr) return kOfxStatErrBadHandle;
  if (props == nullptr) return kOfxStatErrValue;
  *props = clip->Props().Handle();
  return kOfxStatOK;
}

OfxStatus ClipGetImage(OfxImageClipHandle handle, OfxTime time, const OfxRectD* region,
                       OfxPropertySetHandle* image) {
  Clip* clip = Clip::FromHandle(handle);
  if (clip == nullptr) return kOfxStatErrBadHandle;
  if (image == nullptr) return kOfxStatErrValue;
  return clip->Owner()->GetImage(*clip, time, region, image);
}

OfxStatus ClipReleaseImage(OfxPropertySetHandle image) {
  return ReleaseImage(image);
}

OfxStatus ClipGetRegionOfDefinition(OfxImageClipHandle handle, OfxTime time, OfxRectD* bounds) {
  Clip* clip = Clip::FromHandle(handle);
  if (clip == nullptr) return kOfxStatErrBadHandle;
  if (bounds == nullptr) return kOfxStatErrValue;
  return clip->Owner()->GetClipRegionOfDefinition(*clip, time, bounds);
}

int Abort(OfxImageEffectHandle handle) {
  Effect* effect = Effect::FromHandle(handle);
  return effect == nullptr ? 0 : effect->Aborted();
}

struct ImageMemory {
  std::vector<std::byte> bytes;
  int locks = 0;
  LiveHandle<ImageMemory> live{this};
};

std::mutex memoryMutex;

OfxStatus MemoryAlloc(OfxImageEffectHandle, size_t bytes, OfxImageMemoryHandle* handle) {
  if (handle == nullptr) return kOfxStatErrValue;
  try {
    auto* memory = new ImageMemory;
    memory->bytes.resize(bytes);
    *handle = reinterpret_cast<OfxImageMemoryHandle>(memory);
  } catch (const std::bad_alloc&) {
    return kOfxStatErrMemory;
  }
  Ledger::Get().AddCounts({.imageMemoryBlocks = 1}, true);
  return kOfxStatOK;
}

OfxStatus MemoryFree(OfxImageMemoryHandle handle) {
  ImageMemory* memory = LiveHandles<ImageMemory>::Find(handle);
  if (memory == nullptr) {
    Ledger::Get().Misuse("imageMemoryFree of a handle that is not image memory");
    return kOfxStatErrBadHandle;
  }
  delete memory;
  Ledger::Get().AddCounts({.imageMemoryBlocks = 1}, false);
  return kOfxStatOK;
}

OfxStatus MemoryLock(OfxImageMemoryHandle handle, void** data) {
  ImageMemory* memory = LiveHandles<ImageMemory>::Find(handle);
  if (memory == nullptr) return kOfxStatErrBadHandle;
  if (data == nullptr) return kOfxStatErrValue;
  std::lock_guard lock(memoryMutex);
  ++memory->locks;
  *data = memory->bytes.data();
  return kOfxStatOK;
}

OfxStatus MemoryUnlock(OfxImageMemoryHandle handle) {
  ImageMemory* memory = LiveHandles<ImageMemory>::Find(handle);
  if (memory == nullptr) return kOfxStatErrBadHandle;
  std::lock_guard lock(memoryMutex);
  if (memory->locks == 0) {
    Ledger::Get().Misuse("imageMemoryUnlock of memory that is not locked");
    return kOfxStatErrValue;
  }
  --memory->locks;
  return kOfxStatOK;
}

constexpr OfxImageEffectSuiteV1 kSuite = {
    GetPropertySet,
    GetParamSet,
    ClipDefine,
    ClipGetHandle,
    ClipGetPropertySet,
    ClipGetImage,
    ClipReleaseImage,
    ClipGetRegionOfDefinition,
    Abort,
    MemoryAlloc,
    MemoryFree,
    MemoryLock,
    MemoryUnlock,
};

}  // namespace

const OfxImageEffectSuiteV1& ImageEffectSuite() {
  return kSuite;
}

}  // namespace solvane::ofx_host
