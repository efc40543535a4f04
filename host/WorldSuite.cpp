#include "host/WorldSuite.h"

#include <map>
#include <memory>
#include <mutex>

#include "host/Host.h"
#include "host/World.h"

namespace solvane::host {
namespace {

// The host keeps a world it allocated until the effect disposes of it, found by the
// pixels the effect's copy of the record points at.
class SuiteWorlds {
 public:
  void Keep(std::unique_ptr<World> world) {
    std::lock_guard lock(mutex_);
    const void* key = world->Get()->data;
    worlds_[key] = std::move(world);
  }
  bool Drop(const void* data) {
    std::lock_guard lock(mutex_);
    return worlds_.erase(data) != 0;
  }
  size_t Live() const {
    std::lock_guard lock(mutex_);
    return worlds_.size();
  }

 private:
  mutable std::mutex mutex_;
  std::map<const void*, std::unique_ptr<World>> worlds_;
};

SuiteWorlds& Worlds() {
  static SuiteWorlds worlds;
  return worlds;
}

int DepthOfFormat(PF_PixelFormat format) {
  if (format == PF_PixelFormat_ARGB32) return 8;
  if (format == PF_PixelFormat_ARGB128) return 32;
  return 0;
}

// Allocation never fails silently: a size the host will not allocate is refused.
constexpr int64_t kMaxWorldBytes = int64_t(1) << 31;

PF_Err NewWorld(PF_ProgPtr effect_ref, A_long width, A_long height, PF_Boolean,
                PF_PixelFormat format, PF_EffectWorld* world) {
  Host* host = Host::FromEffectRef(effect_ref);
  if (host == nullptr || world == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  if (PF_Err err = host->Enter("PF_NewWorld")) return err;
  const int depth = DepthOfFormat(format);
  if (depth == 0 || width <= 0 || height <= 0) return PF_Err_BAD_CALLBACK_PARAM;
  if (int64_t(width) * height * BytesPerPixel(depth) > kMaxWorldBytes) {
    return PF_Err_OUT_OF_MEMORY;
  }
  // Pixels are always cleared: handing out stale memory would only hide effect bugs.
  auto made = std::make_unique<World>(width, height, depth);
  *world = *made->Get();
  Worlds().Keep(std::move(made));
  return PF_Err_NONE;
}

PF_Err DisposeWorld(PF_ProgPtr effect_ref, PF_EffectWorld* world) {
  Host* host = Host::FromEffectRef(effect_ref);
  if (host == nullptr || world == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  if (PF_Err err = host->Enter("PF_DisposeWorld")) return err;
  if (!Worlds().Drop(world->data)) return PF_Err_BAD_CALLBACK_PARAM;
  *world = PF_EffectWorld{};
  return PF_Err_NONE;
}

PF_Err GetPixelFormat(const PF_EffectWorld* world, PF_PixelFormat* format) {
  if (Host* host = Host::Current()) {
    if (PF_Err err = host->Enter("PF_GetPixelFormat")) return err;
  }
  if (world == nullptr || format == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  *format = PixelFormatOfDepth(DepthOfWorld(*world));
  return *format == PF_PixelFormat_INVALID ? PF_Err_BAD_CALLBACK_PARAM : PF_Err_NONE;
}

}  // namespace

const PF_WorldSuite2* WorldSuite() {
  static const PF_WorldSuite2 suite = {NewWorld, DisposeWorld, GetPixelFormat};
  return &suite;
}

size_t LiveSuiteWorlds() {
  return Worlds().Live();
}

}  // namespace solvane::host
