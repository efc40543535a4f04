// The host's composite of an HD frame: transfer_rect putting an opaque layer over a frame
// of rays with Screen, at 8 and 32 bits, at full and at the default opacity. The rays are
// either "Unmult" light (colour over its brightest channel, that brightness as alpha, so
// alpha varies from pixel to pixel) or opaque, as with "Unmult" off.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "host/Host.h"
#include "host/TransferSuite.h"
#include "host/World.h"

namespace solvane::bench {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A layer of smooth colour ramps, opaque.
host::World Layer(int depth) {
  host::World world(kWidth, kHeight, depth);
  for (A_long y = 0; y < kHeight; ++y) {
    for (A_long x = 0; x < kWidth; ++x) {
      const float u = float(x) / kWidth, v = float(y) / kHeight;
      world.SetValue(x, y, {1.0f, u * 0.8f, v * 0.6f, (1.0f - u) * 0.4f});
    }
  }
  return world;
}

// Rays fading out from the middle of the frame; with `unmult` the light's brightest
// channel is its alpha and the colour is divided by it.
host::World Rays(int depth, bool unmult) {
  host::World world(kWidth, kHeight, depth);
  for (A_long y = 0; y < kHeight; ++y) {
    for (A_long x = 0; x < kWidth; ++x) {
      const float dx = float(x - kWidth / 2) / kWidth, dy = float(y - kHeight / 2) / kHeight;
      const float light = std::max(0.0f, 1.0f - 2.0f * std::sqrt(dx * dx + dy * dy));
      const float r = light, g = light * 0.9f, b = light * 0.5f;
      if (unmult) {
        const float peak = std::max({r, g, b});
        world.SetValue(x, y,
                       peak > 0 ? PF_PixelFloat{peak, r / peak, g / peak, b / peak}
                                : PF_PixelFloat{0, 0, 0, 0});
      } else {
        world.SetValue(x, y, {1.0f, r, g, b});
      }
    }
  }
  return world;
}

// Arguments: depth, opacity, unmult (1) or opaque rays (0).
void BM_HdComposite(benchmark::State& state) {
  const int depth = int(state.range(0));
  const auto opacity = A_u_char(state.range(1));
  host::Host host(SOLVANE_MODULE_PATH);
  const host::World layer = Layer(depth);
  const host::World rays = Rays(depth, state.range(2) != 0);
  host::World output = rays;
  const PF_CompositeMode mode{PF_Xfer_SCREEN, 0, opacity, false, 0};
  const PF_Rect rect{0, 0, kWidth, kHeight};
  for (auto _ : state) {
    state.PauseTiming();
    output = rays;
    state.ResumeTiming();
    const PF_Err err =
        host::TransferRect(reinterpret_cast<PF_ProgPtr>(&host), PF_Quality_HI, PF_MF_Alpha_PREMUL,
                           PF_Field_FRAME, &rect, layer.Get(), &mode, nullptr, 0, 0, output.Get());
    if (err != PF_Err_NONE) throw std::runtime_error("transfer_rect failed");
    benchmark::DoNotOptimize(output.Get()->data);
  }
  state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}
BENCHMARK(BM_HdComposite)
    ->ArgNames({"depth", "opacity", "unmult"})
    ->ArgsProduct({{8, 32}, {255, 254}, {1, 0}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace solvane::bench

BENCHMARK_MAIN();
