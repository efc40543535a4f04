#include "host/AegpHandles.h"

namespace solvane::host {
namespace {

// Handles are tokens, never dereferenced; the base keeps them clear of null and of small
// integers an effect might pass by mistake.
constexpr uintptr_t kHandleBase = 0xAE600000;
constexpr uintptr_t kLayerToken = kHandleBase - 0x1000;

template <typename H>
uintptr_t Token(H handle) {
  return reinterpret_cast<uintptr_t>(handle);
}

}  // namespace

AEGP_LayerH AegpHandles::Layer() const {
  return reinterpret_cast<AEGP_LayerH>(kLayerToken);
}

uintptr_t AegpHandles::Issue(Entry entry) {
  std::lock_guard lock(mutex_);
  const uintptr_t token = kHandleBase + ++issued_;
  live_[token] = entry;
  return token;
}

AEGP_EffectRefH AegpHandles::NewEffect() {
  return reinterpret_cast<AEGP_EffectRefH>(Issue({false, 0}));
}

AEGP_StreamRefH AegpHandles::NewStream(AEGP_EffectRefH, PF_ParamIndex index) {
  return reinterpret_cast<AEGP_StreamRefH>(Issue({true, index}));
}

bool AegpHandles::EffectLive(AEGP_EffectRefH effect) const {
  std::lock_guard lock(mutex_);
  const auto found = live_.find(Token(effect));
  return found != live_.end() && !found->second.stream;
}

bool AegpHandles::DisposeEffect(AEGP_EffectRefH effect) {
  std::lock_guard lock(mutex_);
  const auto found = live_.find(Token(effect));
  if (found == live_.end() || found->second.stream) return false;
  live_.erase(found);
  return true;
}

bool AegpHandles::DisposeStream(AEGP_StreamRefH stream) {
  std::lock_guard lock(mutex_);
  const auto found = live_.find(Token(stream));
  if (found == live_.end() || !found->second.stream) return false;
  live_.erase(found);
  return true;
}

PF_ParamIndex AegpHandles::StreamIndex(AEGP_StreamRefH stream) const {
  std::lock_guard lock(mutex_);
  const auto found = live_.find(Token(stream));
  return found == live_.end() || !found->second.stream ? 0 : found->second.index;
}

std::vector<std::string> AegpHandles::Undisposed() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> out;
  for (const auto& [token, entry] : live_) {
    const std::string number = std::to_string(token - kHandleBase);
    out.push_back(entry.stream
                      ? "stream handle " + number + " (index " + std::to_string(entry.index) + ")"
                      : "effect handle " + number);
  }
  return out;
}

int AegpHandles::Obtained() const {
  std::lock_guard lock(mutex_);
  return int(issued_);
}

}  // namespace solvane::host
