// What the OpenFX shell adds to a frame. At 1920 x 1080 float with Zoom Moderate (the
// default controls), the shell's own CPU work — the source image into the core's straight
// ARGB frame, the input composited over the rays, the render window back into the host's
// premultiplied RGBA — against the render core's passes on the same frame.
#include <benchmark/benchmark.h>

#include <cstring>

#include "BenchSupport.h"
#include "core/controls/ControlValues.h"
#include "core/render/EffectFrame.h"
#include "core/render/RenderParams.h"
#include "core/render/SharedProbe.h"
#include "shells/ofx/FrameCompositeOver.h"
#include "shells/ofx/ImageTransfer.h"

namespace solvane::bench {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// The benchmarks' night sky as a host's float RGBA image, bottom-up.
const std::vector<float>& SkylineRgbaFloat() {
  static const std::vector<float> rgba = [] {
    const host::World world = Skyline(kWidth, kHeight, 32);
    std::vector<float> pixels(size_t(kWidth) * kHeight * 4);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const PF_PixelFloat p = world.PixelFloat(x, kHeight - 1 - y);
        float* out = &pixels[(size_t(y) * kWidth + x) * 4];
        out[0] = p.red, out[1] = p.green, out[2] = p.blue, out[3] = p.alpha;
      }
    }
    return pixels;
  }();
  return rgba;
}

ofx::HostImage HostImageOf(float* pixels) {
  ofx::HostImage image;
  image.data = pixels;
  image.bounds = {0, 0, kWidth, kHeight};
  image.rowBytes = ptrdiff_t(kWidth) * 16;
  image.format = PixelFormat::kArgbFloat;
  image.alpha = ofx::Alpha::kPremultiplied;
  return image;
}

RenderParams DefaultParams() {
  ControlValues values = DefaultControlValues(kWidth, kHeight);
  FrameGeometry frame;
  frame.outputWidth = kWidth;
  frame.outputHeight = kHeight;
  return DeriveRenderParams(values, frame);
}

// The steps one by one (0: import, 1: composite, 2: export) and all three (3).
void OfxShellOwnSteps(benchmark::State& state) {
  std::vector<float> source = SkylineRgbaFloat();
  std::vector<float> output(source.size());
  const ofx::HostImage in = HostImageOf(source.data());
  const ofx::HostImage out = HostImageOf(output.data());
  ofx::CoreFrame rays = ofx::MakeFrame(in.bounds, PixelFormat::kArgbFloat);
  const ofx::CoreFrame imported = ofx::ImportImage(in);
  const FrameComposite composite{true, pixels::BlendOp::kScreen, 255};
  const int64_t step = state.range(0);
  for (auto _ : state) {
    if (step == 0 || step == 3) benchmark::DoNotOptimize(ofx::ImportImage(in).bytes.data());
    if (step == 1 || step == 3) ofx::CompositeInputOver(imported, 0, 0, composite, 254, rays);
    if (step == 2 || step == 3) ofx::ExportWindow(rays, in.bounds, out);
    benchmark::DoNotOptimize(output.data());
  }
  const char* labels[] = {"import", "composite", "export", "all three"};
  state.SetLabel(labels[step]);
}
BENCHMARK(OfxShellOwnSteps)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1);

// The render core's passes on the same float frame: upload, pre-process, ray pass and
// read-back.
void OfxCorePasses(benchmark::State& state) {
  RetainSharedProbe();
  std::vector<float> source = SkylineRgbaFloat();
  ofx::CoreFrame input = ofx::ImportImage(HostImageOf(source.data()));
  ofx::CoreFrame output = ofx::MakeFrame(input.rect, PixelFormat::kArgbFloat);
  const RenderParams params = DefaultParams();
  FrameComposite composite;
  const GLResources* probe = SharedProbe();
  if (DrawEffectFrame(probe, params, input.View(), output.View(), composite) !=
      EffectFrameResult::kDrawn) {
    state.SkipWithError("no OpenGL here");
  }
  for (auto _ : state) DrawEffectFrame(probe, params, input.View(), output.View(), composite);
  ReleaseSharedProbe();
}
BENCHMARK(OfxCorePasses)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

}  // namespace
}  // namespace solvane::bench

BENCHMARK_MAIN();
