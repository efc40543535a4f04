// What the frei0r filter adds to a frame. At 1920 x 1080 with Zoom Moderate (the default
// controls), one frame through the filter (straight RGBA in, conversion, the render core's
// passes, the composite, conversion back) against the same frame's GPU part alone, with
// and without the ray pass; and the filter's own CPU steps alone. The ray pass's cost is
// the difference of the two GPU frames, so the filter's overhead (everything but the ray
// pass) is the whole frame less that difference.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "BenchSupport.h"
#include "shells/frei0r/FilterInstance.h"
#include "shells/frei0r/FilterRender.h"
#include "shells/frei0r/FrameConversion.h"

namespace solvane::bench {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr size_t kPixels = size_t(kWidth) * kHeight;
constexpr int kViewParam = 20;  // "View", the last of the filter's parameters

// The benchmarks' night sky as a frei0r frame: straight R, G, B, A bytes.
const std::vector<uint8_t>& SkylineRgba() {
  static const std::vector<uint8_t> rgba = [] {
    const host::World world = Skyline(kWidth, kHeight, 8);
    std::vector<uint8_t> argb(kPixels * 4);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const PF_Pixel8 p = world.Pixel8(x, y);
        std::memcpy(&argb[(size_t(y) * kWidth + x) * 4], &p, 4);
      }
    }
    std::vector<uint8_t> rgba(argb.size());
    frei0r::ToRgba(argb.data(), kPixels, rgba.data());
    return rgba;
  }();
  return rgba;
}

void FilterFrame(benchmark::State& state) {
  frei0r::FilterInstance filter(kWidth, kHeight);
  std::vector<uint8_t> out(kPixels * 4);
  filter.Update(SkylineRgba().data(), out.data());  // the thread's context and targets
  for (auto _ : state) filter.Update(SkylineRgba().data(), out.data());
}
BENCHMARK(FilterFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// A 64 x 36 frame through the filter: almost nothing but the fixed cost every frame pays,
// such as making the thread's context current and releasing the thread afterwards.
void FilterFrameSmall(benchmark::State& state) {
  constexpr int kSmallWidth = 64;
  constexpr int kSmallHeight = 36;
  frei0r::FilterInstance filter(kSmallWidth, kSmallHeight);
  const std::vector<uint8_t> in(size_t(kSmallWidth) * kSmallHeight * 4, 200);
  std::vector<uint8_t> out(in.size());
  filter.Update(in.data(), out.data());
  for (auto _ : state) filter.Update(in.data(), out.data());
}
BENCHMARK(FilterFrameSmall)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2);

// The render core's part of the frame, as the After Effects shell runs it: upload, passes
// and read-back of the pixels. View 3 draws the rays, view 1 does not.
void CorePasses(benchmark::State& state) {
  frei0r::FilterInstance settings(kWidth, kHeight);
  const char* view = state.range(0) == 3 ? "final composite" : "input (processed)";
  settings.SetParam(kViewParam, &view);
  std::vector<uint8_t> input(kPixels * 4), output(kPixels * 4);
  frei0r::ToArgb(SkylineRgba().data(), kPixels, input.data());
  FrameComposite composite;
  frei0r::DrawFrame(settings.Controls(), kWidth, kHeight, input.data(), output.data(), composite);
  for (auto _ : state) {
    frei0r::DrawFrame(settings.Controls(), kWidth, kHeight, input.data(), output.data(),
                      composite);
  }
  state.SetLabel(state.range(0) == 3 ? "with the ray pass" : "without the ray pass");
}
BENCHMARK(CorePasses)->Arg(3)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// The filter's own CPU work: both conversions and the composite.
void FilterOwnSteps(benchmark::State& state) {
  std::vector<uint8_t> input(kPixels * 4), output(kPixels * 4), out(kPixels * 4);
  const pixels::Compositor8 composite(pixels::BlendOp::kScreen, 255);
  for (auto _ : state) {
    frei0r::ToArgb(SkylineRgba().data(), kPixels, input.data());
    frei0r::CompositeOver(input.data(), kPixels, composite, output.data());
    frei0r::ToRgba(output.data(), kPixels, out.data());
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(FilterOwnSteps)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1);

}  // namespace
}  // namespace solvane::bench

BENCHMARK_MAIN();
