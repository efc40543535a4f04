// The AEGP effect and stream handles the host hands out. Each must be disposed of by the
// effect; the host can say which were not.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "AE_GeneralPlug.h"

namespace solvane::host {

class AegpHandles {
 public:
  AegpHandles() = default;
  AegpHandles(const AegpHandles&) = delete;
  AegpHandles& operator=(const AegpHandles&) = delete;

  // The layer handle of the one layer this host has; layers are not disposed of.
  AEGP_LayerH Layer() const;

  AEGP_EffectRefH NewEffect();
  bool DisposeEffect(AEGP_EffectRefH effect);  // false for an unknown or disposed handle
  bool EffectLive(AEGP_EffectRefH effect) const;

  AEGP_StreamRefH NewStream(AEGP_EffectRefH effect, PF_ParamIndex index);
  bool DisposeStream(AEGP_StreamRefH stream);
  // The control a live stream belongs to, or 0 for an unknown or disposed handle.
  PF_ParamIndex StreamIndex(AEGP_StreamRefH stream) const;

  // One line per handle not yet disposed of ("effect handle 1", "stream handle 2 (index 13)").
  std::vector<std::string> Undisposed() const;
  int Obtained() const;  // handles handed out so far

 private:
  struct Entry {
    bool stream = false;
    PF_ParamIndex index = 0;
  };
  uintptr_t Issue(Entry entry);

  mutable std::mutex mutex_;
  std::map<uintptr_t, Entry> live_;
  uintptr_t issued_ = 0;
};

}  // namespace solvane::host
