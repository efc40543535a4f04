// Whole frames through the stand-in host and the module file: the frame suite (sizes,
// cases and depths), the cost against pixels and against samples, and throughput on
// several host render threads.
#include <benchmark/benchmark.h>

#include <future>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "host/RenderPool.h"

namespace solvane::bench {
namespace {

struct Size {
  int width;
  int height;
};

// One untimed frame of the case first, at its own size, so neither the driver's shader
// compilation for this state nor the thread's render targets for this size are counted:
// the timed frames are a render thread's later frames.
void WarmUp(const Case& c, Size size, int depth) {
  auto host = MakeEffectHost(size.width, size.height, false);
  ApplyCase(*host, c, size.width, size.height);
  CheckFrame(host::RenderFrameThroughModule(*host, Skyline(size.width, size.height, depth),
                                            {.depth = depth}),
             "warm-up frame");
}

void SetFrameCounters(benchmark::State& state, Size size, double readsPerPixel,
                      double framesPerIteration = 1.0) {
  const double pixels = double(size.width) * size.height * framesPerIteration;
  state.counters["MPix/s"] = benchmark::Counter(pixels * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["samples/s"] =
      benchmark::Counter(pixels * readsPerPixel, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["reads/px"] = readsPerPixel;
  state.counters["pixels"] = double(size.width) * size.height;
}

void RenderFrames(benchmark::State& state, Case c, Size size, int depth) {
  try {
    const double reads = ReadsPerPixelFor(c, size.width);
    WarmUp(c, size, depth);
    auto host = MakeEffectHost(size.width, size.height, false);
    ApplyCase(*host, c, size.width, size.height);
    const host::World input = Skyline(size.width, size.height, depth);
    for (auto _ : state) {
      host::FrameResult frame = host::RenderFrameThroughModule(*host, input, {.depth = depth});
      CheckFrame(frame, "frame");
      benchmark::DoNotOptimize(frame.output.Get()->data);
    }
    SetFrameCounters(state, size, reads);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
}

// n frames at a time on a pool of `threads` host render threads. Every thread renders a
// frame before the clock starts, so context and program creation is not counted.
void RenderOnThreads(benchmark::State& state, Case c, Size size, int threads) {
  constexpr int kFramesPerIteration = 8;
  try {
    const double reads = ReadsPerPixelFor(c, size.width);
    auto host = MakeEffectHost(size.width, size.height, false);
    ApplyCase(*host, c, size.width, size.height);
    auto input = std::make_shared<const host::World>(Skyline(size.width, size.height, 8));
    host::RenderPool pool(*host, threads);
    const auto batch = [&](int frames) {
      std::vector<std::future<host::FrameResult>> pending;
      for (int i = 0; i < frames; ++i) pending.push_back(pool.Submit(input, {.depth = 8}));
      for (auto& f : pending) CheckFrame(f.get(), "pooled frame");
    };
    batch(2 * threads);
    for (auto _ : state) batch(kFramesPerIteration);
    SetFrameCounters(state, size, reads, kFramesPerIteration);
    state.counters["frames/s"] =
        benchmark::Counter(kFramesPerIteration, benchmark::Counter::kIsIterationInvariantRate);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
}

std::string SizeName(Size s) { return std::to_string(s.width) + "x" + std::to_string(s.height); }

void Register() {
  const std::vector<Size> sizes = {{256, 256}, {960, 540}, {1920, 1080}};
  for (const Size size : sizes) {
    for (const Case& c : FrameCases()) {
      for (const int depth : {8, 32}) {
        const std::string name =
            "Frame/" + c.name + "/" + SizeName(size) + "/" + std::to_string(depth) + "bit";
        benchmark::RegisterBenchmark(name.c_str(), RenderFrames, c, size, depth)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
      }
    }
  }
  // Cost against pixels at a fixed sample count, and against samples at a fixed size.
  const Case custom64{.name = "Zoom64", .mode = 2, .quality = kCustom, .samples = 64};
  for (const Size size : {Size{256, 144}, Size{640, 360}, Size{960, 540}, Size{1280, 720},
                          Size{1920, 1080}}) {
    benchmark::RegisterBenchmark(("Scale/pixels/" + SizeName(size)).c_str(), RenderFrames,
                                 custom64, size, 8)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  for (const int samples : {1, 16, 64, 128, 256, 512}) {
    const Case custom{.name = "Zoom", .mode = 2, .quality = kCustom, .samples = samples};
    benchmark::RegisterBenchmark(("Scale/samples/" + std::to_string(samples)).c_str(),
                                 RenderFrames, custom, Size{960, 540}, 8)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  const Case moderate = FrameCases()[1];
  for (const int threads : {1, 2, 4}) {
    benchmark::RegisterBenchmark(("Threads/" + std::to_string(threads)).c_str(), RenderOnThreads,
                                 moderate, Size{960, 540}, threads)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
  }
}

}  // namespace
}  // namespace solvane::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  solvane::bench::Register();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
