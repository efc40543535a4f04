// The layer an effect instance is applied to, and the time a command runs at, as the
// stand-in host presents them to the effect.
#pragma once

#include "AE_Effect.h"

namespace solvane::host {

// Ordinary layers report no AEGP layer flags, adjustment layers AEGP_LayerFlag_ADJUSTMENT_LAYER.
enum class LayerKind { kOrdinary, kAdjustment };

struct LayerState {
  // The layer's size at full resolution; commands see CurrentWidth() x CurrentHeight().
  A_long width = 0;
  A_long height = 0;
  PF_RationalScale downsampleX{1, 1};
  PF_RationalScale downsampleY{1, 1};
  A_long currentTime = 0;
  A_long timeStep = 1;
  A_u_long timeScale = 25;
  LayerKind kind = LayerKind::kOrdinary;
  // A layer with no visible pixel at the current time: its checkout result is empty.
  bool fullyTransparent = false;

  // ceil(size x factor): at 1/N a partial block at the right or bottom still makes a pixel.
  A_long CurrentWidth() const { return Scaled(width, downsampleX); }
  A_long CurrentHeight() const { return Scaled(height, downsampleY); }

 private:
  static A_long Scaled(A_long size, PF_RationalScale f) {
    if (f.den == 0) return size;
    const long long scaled = (static_cast<long long>(size) * f.num + f.den - 1) / f.den;
    return static_cast<A_long>(scaled);
  }
};

}  // namespace solvane::host
