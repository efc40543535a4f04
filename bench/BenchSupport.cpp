#include "BenchSupport.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "shells/ae/Dispatch.h"
#include "shells/ae/PixelTransfer.h"

namespace solvane::bench {
namespace {

// A small deterministic generator, so the picture never changes between runs.
uint32_t Hash(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352du;
  x ^= x >> 15;
  x *= 0x846ca68bu;
  x ^= x >> 16;
  return x;
}

float Unit(uint32_t x) { return float(Hash(x) & 0xFFFF) / 65535.0f; }

// Straight-alpha colour of one pixel of the picture, on a unit-height canvas.
PF_PixelFloat SkylinePixel(int x, int y, int width, int height, float peak) {
  const float u = float(x) / float(height);
  const float v = float(y) / float(height);
  const int column = int(u * 24.0f);  // buildings about 1/24 of the height wide
  const float roof = 0.45f + 0.35f * Unit(uint32_t(column) * 7919u);
  const float moon = std::hypot(u - 0.75f * float(width) / float(height), v - 0.18f);
  if (moon < 0.05f) return {1.0f, peak, peak * 0.95f, peak * 0.8f};
  if (v < roof) {
    const bool star = Hash(uint32_t(y) * 131071u + uint32_t(x)) % 2000u == 0;
    return star ? PF_PixelFloat{1.0f, peak, peak, peak} : PF_PixelFloat{0.0f, 0.0f, 0.0f, 0.0f};
  }
  const int wx = int(u * 240.0f), wy = int(v * 120.0f);
  const bool window = (wx % 2 == 0) && (wy % 2 == 0) && Unit(uint32_t(wx * 977 + wy)) < 0.4f;
  if (window) return {1.0f, peak * 0.95f, peak * 0.8f, peak * 0.45f};
  const float shade = 0.05f + 0.05f * Unit(uint32_t(column));
  return {1.0f, shade, shade, shade * 1.4f};
}

}  // namespace

PixelView ViewOf(const host::World& world) {
  PixelView view;
  if (!TransferableView(*world.Get(), world.Depth(), view)) {
    throw std::runtime_error("a world the effect would refuse");
  }
  return view;
}

const std::vector<Case>& FrameCases() {
  static const std::vector<Case> cases = {
      {.name = "ZoomDraft", .mode = 2, .quality = kDraft},
      {.name = "ZoomModerate", .mode = 2, .quality = kModerate},
      {.name = "ZoomHigh", .mode = 2, .quality = kHigh},
      {.name = "SpinModerate", .mode = 1, .quality = kModerate},
      {.name = "ZoomModerateCA", .mode = 2, .quality = kModerate, .aberration = 50},
  };
  return cases;
}

namespace {

std::unique_ptr<host::Host> SetUp(std::unique_ptr<host::Host> host, int width, int height) {
  host->Layer().width = width;
  host->Layer().height = height;
  if (host->GlobalSetup() != PF_Err_NONE || host->ParamsSetup() != PF_Err_NONE) {
    throw std::runtime_error("the effect's global or parameter set-up failed");
  }
  return host;
}

}  // namespace

std::unique_ptr<host::Host> MakeEffectHost(int width, int height, bool linked) {
  return SetUp(linked ? std::make_unique<host::Host>(SOLVANE_MODULE_PATH, &solvane::Dispatch)
                      : std::make_unique<host::Host>(SOLVANE_MODULE_PATH),
               width, height);
}

std::unique_ptr<host::Host> MakeModuleHost(const std::string& modulePath, int width, int height) {
  return SetUp(std::make_unique<host::Host>(modulePath), width, height);
}

void ApplyCase(host::Host& host, const Case& c, int width, int height) {
  host::ParamStore& p = host.Params();
  p.Set(kParamMode, {double(c.mode)});
  p.Set(kParamPosition, {width * 0.5, height * 0.5});
  p.Set(kParamQuality, {double(c.quality)});
  if (c.quality == kCustom) p.Set(kParamSamples, {double(c.samples)});
  p.Set(kParamAberrationAmount, {c.aberration});
}

host::World Skyline(int width, int height, int depth) {
  host::World world(width, height, depth);
  const float peak = depth == 32 ? 3.0f : 1.0f;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      world.SetValue(x, y, SkylinePixel(x, y, width, height, peak));
    }
  }
  return world;
}

UniformRecorder::UniformRecorder() : previous_(SetUniformObserver(this)) {}

UniformRecorder::~UniformRecorder() { SetUniformObserver(previous_); }

void UniformRecorder::OnUniformApplied(GLuint program, std::string_view name,
                                       const UniformValue& value) {
  std::lock_guard lock(mutex_);
  if (programs_.empty() || programs_.back() != program) {
    programs_.push_back(program);
    tables_.emplace_back();
  }
  tables_.back()[std::string(name)] = value;
}

UniformTable UniformRecorder::Pass(size_t n) const {
  std::lock_guard lock(mutex_);
  return n < tables_.size() ? tables_[n] : UniformTable{};
}

GLuint UniformRecorder::Program(size_t n) const {
  std::lock_guard lock(mutex_);
  return n < programs_.size() ? programs_[n] : 0;
}

size_t UniformRecorder::Passes() const {
  std::lock_guard lock(mutex_);
  return programs_.size();
}

double RayReadsPerPixel(const UniformTable& u) {
  const auto number = [&](const char* name) {
    const auto it = u.find(name);
    if (it == u.end()) throw std::runtime_error(std::string("ray pass without ") + name);
    return it->second.tag == UniformValue::kFloat ? double(it->second.FloatAt(0))
                                                  : double(it->second.IntAt(0));
  };
  const double samples = std::max(0.0, std::ceil(number("samplesF")));
  const double channels = number("caF") != 0.0 ? 3.0 : 1.0;
  const double paths = number("modeL") == 2 ? number("forwardL") + number("backwardL") : 2.0;
  return samples * channels * paths;
}

UniformTable CaptureRayUniforms(host::Host& host, const host::World& input, int depth) {
  UniformRecorder recorder;
  CheckFrame(host::RenderFrameThroughModule(host, input, {.depth = depth}), "capture frame");
  if (recorder.Passes() != 2) throw std::runtime_error("the frame did not draw two passes");
  return recorder.Pass(1);
}

double ReadsPerPixelFor(const Case& c, int width) {
  auto host = MakeEffectHost(width, 1, true);
  ApplyCase(*host, c, width, 1);
  return RayReadsPerPixel(CaptureRayUniforms(*host, Skyline(width, 1, 8), 8));
}

void CheckFrame(const host::FrameResult& result, const char* what) {
  if (result.err != PF_Err_NONE || !result.rendered) {
    throw std::runtime_error(std::string(what) + ": the frame failed with error " +
                             std::to_string(result.err));
  }
}

}  // namespace solvane::bench
