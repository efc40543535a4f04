// Where the time of a default 1920 x 1080 frame goes. The frame's GPU part is the effect's
// own DrawFramePasses, with the render values derived from the default controls (its
// output must match a real frame through the host byte for byte), told of each stage so
// that a glFinish and a clock reading fall between stages; the earlier order, which
// created and deleted every target in each frame, runs beside it with a fresh set of
// targets per frame. Also: whole frames through the host, first frames on a new thread, a bare
// draw of the ray program with everything set up once (the most the ray pass can do),
// and, given an earlier module build, whole frames of both modules in turn.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <stdexcept>
#include <thread>
#include <vector>

#include "BenchSupport.h"
#include "core/gl/Pod.h"
#include "core/gl/Quad.h"
#include "core/gl/RenderTarget.h"
#include "host/TransferSuite.h"
#include "core/controls/ControlValues.h"
#include "core/render/FramePasses.h"
#include "core/render/FrameTargets.h"
#include "core/render/RenderParams.h"
#include "core/render/ThreadResources.h"

namespace solvane::bench {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
// "Repeat Edges" is on by default.
constexpr GLenum kWrap = GL_MIRRORED_REPEAT;

enum Stage {
  kMakeCurrent,
  kCreate,
  kClear,
  kDelete,
  kUpload,
  kPreprocess,
  kBlit,
  kRays,
  kReadBack,
  kComposite,
  kStageCount
};
constexpr const char* kStageNames[kStageCount] = {"context make-current",
                                                  "target creation",
                                                  "target clears",
                                                  "target deletion",
                                                  "upload",
                                                  "pre-process pass",
                                                  "blit",
                                                  "ray pass",
                                                  "read-back",
                                                  "composite"};

using Clock = std::chrono::steady_clock;
using StageTimes = std::array<double, kStageCount>;  // seconds

// Charges the time since the last lap, after the GPU has finished, to a stage.
class StageClock {
 public:
  explicit StageClock(StageTimes& times) : times_(times), last_(Clock::now()) {}
  void Lap(Stage stage) {
    glFinish();
    const Clock::time_point now = Clock::now();
    times_[stage] += std::chrono::duration<double>(now - last_).count();
    last_ = now;
  }

 private:
  StageTimes& times_;
  Clock::time_point last_;
};

// One depth's host, input, the render values of its frame, and what a real frame handed to
// its two programs.
struct Rig {
  int depth = 8;
  std::unique_ptr<host::Host> host;
  host::World input;
  RenderParams params;
  UniformTable preprocessUniforms;
  UniformTable rayUniforms;
  host::TransferCall composite;
  host::World frameOutput;  // the real frame's result
  double readsPerPixel = 0;
};

UniformTable WithTexture(UniformTable table, GLuint texture) {
  table["inTex"] = UniformValue::Texture2D(texture);
  return table;
}

const GLResources* GlobalRecord(host::Host& host) {
  return static_cast<const GLResources*>(*host.GlobalData());
}

void CreateTarget(RenderTarget& target, GLint width, GLint height) {
  CreateRenderTarget(target, width, height, kWrap, GL_RGBA32F);
  if (target.framebuffer == 0) throw std::runtime_error("a render target cannot be created");
  ClearRenderTarget(target);
}

// The frame keeps its targets on the thread from one frame to the next; the earlier order
// created and deleted them in every frame.
enum class Order { kFrame, kPerFrameTargets };

Stage StageOf(FrameStage stage) {
  switch (stage) {
    case FrameStage::kTargetPrepared:
      return kCreate;
    case FrameStage::kTargetCleared:
      return kClear;
    case FrameStage::kUpload:
      return kUpload;
    case FrameStage::kPreprocess:
      return kPreprocess;
    case FrameStage::kPlacement:
      return kBlit;
    case FrameStage::kRays:
      return kRays;
    case FrameStage::kReadBack:
      return kReadBack;
    case FrameStage::kTargetsReleased:
      return kDelete;
  }
  return kDelete;
}

// Charges each stage the frame issues to that stage, once the GPU has finished it.
class StageLaps : public FrameStageObserver {
 public:
  explicit StageLaps(StageClock& clock) : clock_(clock) {}
  void OnStageIssued(FrameStage stage) override { clock_.Lap(StageOf(stage)); }

 private:
  StageClock& clock_;
};

// The frame's GPU part and composite, stage by stage, into `output`.
void DrawStages(const Rig& rig, host::World& output, StageTimes& times,
                Order order = Order::kFrame) {
  StageClock clock(times);
  const GLResources* gl = AcquireThreadResources(GlobalRecord(*rig.host));
  if (gl == nullptr || gl->context == nullptr) throw std::runtime_error("no GL context");
  clock.Lap(kMakeCurrent);
  FrameTargets perFrame;
  FrameTargets& targets = order == Order::kFrame ? ThreadFrameTargets() : perFrame;
  StageLaps laps(clock);
  if (DrawFramePasses(*gl, targets, rig.params, ViewOf(rig.input), ViewOf(output), &laps) !=
      FrameResult::kDrawn) {
    throw std::runtime_error("a render target cannot be created");
  }
  if (order == Order::kPerFrameTargets) {
    DeleteFrameTargets(perFrame);
    clock.Lap(kDelete);
  }
  const host::TransferCall& c = rig.composite;
  const PF_Err err =
      host::TransferRect(reinterpret_cast<PF_ProgPtr>(rig.host.get()), c.quality, c.modeFlags,
                         c.field, c.hasSourceRect ? &c.sourceRect : nullptr, rig.input.Get(),
                         &c.mode, nullptr, c.destX, c.destY, output.Get());
  if (err != PF_Err_NONE) throw std::runtime_error("the composite failed");
  clock.Lap(kComposite);
}

// The render values of the rig's frame: every control at its default, input and output the
// layer's rectangle at full resolution.
RenderParams DefaultFrameParams() {
  FrameGeometry frame;
  frame.outputWidth = kWidth;
  frame.outputHeight = kHeight;
  return DeriveRenderParams(DefaultControlValues(kWidth, kHeight), frame);
}

// The driver, as the thread's context names it, for the record of where numbers came from.
std::string glDriver;

std::unique_ptr<Rig> MakeRig(int depth) {
  auto rig = std::make_unique<Rig>();
  rig->depth = depth;
  rig->host = MakeEffectHost(kWidth, kHeight, true);
  rig->input = Skyline(kWidth, kHeight, depth);
  rig->params = DefaultFrameParams();
  UniformRecorder recorder;
  host::FrameResult frame =
      host::RenderFrameThroughModule(*rig->host, rig->input, {.depth = depth});
  CheckFrame(frame, "recorded frame");
  if (recorder.Passes() != 2 || frame.transfers.size() != 1) {
    throw std::runtime_error("the default frame did not draw two passes and composite once");
  }
  rig->preprocessUniforms = recorder.Pass(0);
  rig->rayUniforms = recorder.Pass(1);
  rig->composite = frame.transfers[0];
  rig->frameOutput = std::move(frame.output);
  rig->readsPerPixel = RayReadsPerPixel(rig->rayUniforms);
  glDriver = std::string(reinterpret_cast<const char*>(glGetString(GL_RENDERER))) + ", " +
             reinterpret_cast<const char*>(glGetString(GL_VERSION));
  host::World staged(kWidth, kHeight, depth);
  for (const Order order : {Order::kFrame, Order::kPerFrameTargets}) {
    StageTimes ignored{};
    DrawStages(*rig, staged, ignored, order);
    if (!host::SameBytes(staged, rig->frameOutput)) {
      throw std::runtime_error("the stages do not reproduce the frame's pixels");
    }
  }
  return rig;
}

Rig& RigFor(int depth) {
  static std::map<int, std::unique_ptr<Rig>> rigs;
  auto& rig = rigs[depth];
  if (!rig) rig = MakeRig(depth);
  return *rig;
}

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double TimeFrame(Rig& rig) {
  const Clock::time_point start = Clock::now();
  CheckFrame(host::RenderFrameThroughModule(*rig.host, rig.input, {.depth = rig.depth}), "frame");
  return Seconds(start);
}

// The ray program drawn into one target with its texture, geometry and uniforms made once:
// what the pass costs with no per-frame work around it. Made on the benchmark's thread.
class BareRayDraw {
 public:
  explicit BareRayDraw(const Rig& rig) {
    gl_ = AcquireThreadResources(GlobalRecord(*rig.host));
    CreateTarget(source_, kWidth, kHeight);
    CreateTarget(target_, kWidth, kHeight);
    // The frame's own placed image: its pre-processed input, read back as floats.
    host::World placed(kWidth, kHeight, 32);
    RenderTarget scratch;
    DrawPlacedImage(rig, scratch);
    ReadRenderTarget(scratch, ViewOf(placed), GL_COLOR_ATTACHMENT0);
    DeleteRenderTarget(&scratch);
    UploadToTexture(source_.attachment.texture, ViewOf(placed));
    uniforms_ = WithTexture(rig.rayUniforms, source_.attachment.texture);
    static constexpr float kCorners[] = {-1, -1, 0, 1, 1, -1, 0, 1, -1, 1, 0, 1, 1, 1, 0, 1};
    static constexpr float kTexCoords[] = {0, 0, 1, 0, 0, 1, 1, 1};
    buffers_[0] = CreateBuffer(kCorners, sizeof(kCorners), GL_ARRAY_BUFFER, GL_STATIC_DRAW);
    buffers_[1] = CreateBuffer(kTexCoords, sizeof(kTexCoords), GL_ARRAY_BUFFER, GL_STATIC_DRAW);
    glGenVertexArrays(1, &vertexArray_);
    BindPodAttributes(vertexArray_, gl_->rayProgram,
                      {{"inVertex", {buffers_[0], 4, GL_FLOAT, 16}},
                       {"inTexCoord", {buffers_[1], 2, GL_FLOAT, 8}}});
    Time();  // the driver compiles for this state on the first draw
  }
  ~BareRayDraw() {
    glDeleteVertexArrays(1, &vertexArray_);
    glDeleteBuffers(2, buffers_);
    DeleteRenderTarget(&source_);
    DeleteRenderTarget(&target_);
  }
  // One draw, after the state the frames in between changed is set again (not timed).
  double Time() {
    AcquireThreadResources(nullptr);
    ApplyPodUniforms(gl_->rayProgram, uniforms_);
    glViewport(0, 0, kWidth, kHeight);
    glBindFramebuffer(GL_FRAMEBUFFER, target_.framebuffer);
    glBindVertexArray(vertexArray_);
    glFinish();
    const Clock::time_point start = Clock::now();
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glFinish();
    const double seconds = Seconds(start);
    glBindVertexArray(0);
    glUseProgram(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return seconds;
  }

 private:
  static void DrawPlacedImage(const Rig& rig, RenderTarget& placed) {
    const GLResources* gl = AcquireThreadResources(nullptr);
    const PF_EffectWorld& in = *rig.input.Get();
    RenderTarget uploaded;
    CreateTarget(uploaded, in.width, in.height);
    CreateTarget(placed, kWidth, kHeight);
    UploadToTexture(uploaded.attachment.texture, ViewOf(rig.input));
    DrawQuad(placed, gl->preprocessProgram,
             WithTexture(rig.preprocessUniforms, uploaded.attachment.texture), false, {}, false);
    DeleteRenderTarget(&uploaded);
  }

  const GLResources* gl_ = nullptr;
  RenderTarget source_, target_;
  UniformTable uniforms_;
  GLuint buffers_[2] = {0, 0};
  GLuint vertexArray_ = 0;
};

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

// Per-iteration times in seconds; the summary takes medians, so that a burst of other
// work on the machine moves no figure much.
struct Samples {
  std::vector<double> frame, staged, stagedPerFrameTargets, bare;
  // Per iteration, (frame - its ray pass) / frame from the frame and the replay run back
  // to back, which drift on the machine moves less than a ratio of two medians.
  std::vector<double> overheadShare;
  std::array<std::vector<double>, kStageCount> stages;
  void AddStages(const StageTimes& t) {
    double sum = 0;
    for (int s = 0; s < kStageCount; ++s) {
      stages[s].push_back(t[s]);
      sum += t[s];
    }
    staged.push_back(sum);
  }
  StageTimes StageMedians() const {
    StageTimes m{};
    for (int s = 0; s < kStageCount; ++s) m[s] = Median(stages[s]);
    return m;
  }
};

struct Summary {
  Samples later, first;
  double readsPerPixel = 0;
  double beforeFrame = 0, afterFrame = 0;  // medians of whole frames through two modules
};
std::map<int, Summary> summaries;

void SetStageCounters(benchmark::State& state, const Samples& samples) {
  static constexpr const char* kKeys[kStageCount] = {"current",  "create",   "clear", "delete",
                                                     "upload",   "preproc",  "blit",  "rays",
                                                     "readback", "composite"};
  const StageTimes m = samples.StageMedians();
  for (int s = 0; s < kStageCount; ++s) state.counters[std::string(kKeys[s]) + "_ms"] = m[s] * 1e3;
  state.counters["frame_ms"] = Median(samples.frame) * 1e3;
  if (!samples.bare.empty()) state.counters["bare_ms"] = Median(samples.bare) * 1e3;
}

// Later frames on the benchmark's thread. Each iteration runs, one after another, a whole
// frame through the host, the same frame stage by stage, and a bare draw of its ray pass.
void LaterFrames(benchmark::State& state, int depth) {
  try {
    Rig& rig = RigFor(depth);
    BareRayDraw bare(rig);
    Samples& samples = summaries[depth].later;
    for (auto _ : state) {
      samples.frame.push_back(TimeFrame(rig));
      StageTimes times{};
      host::World output(kWidth, kHeight, depth);
      DrawStages(rig, output, times);
      samples.AddStages(times);
      samples.overheadShare.push_back(1.0 - times[kRays] / samples.frame.back());
      StageTimes perFrameTargets{};
      DrawStages(rig, output, perFrameTargets, Order::kPerFrameTargets);
      double sum = 0;
      for (const double t : perFrameTargets) sum += t;
      samples.stagedPerFrameTargets.push_back(sum);
      samples.bare.push_back(bare.Time());
    }
    summaries[depth].readsPerPixel = rig.readsPerPixel;
    SetStageCounters(state, samples);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
}

// First frames: each runs on a new thread, whose first frame creates the context and
// builds the programs (charged to make-current) and whose first draws make the driver
// compile the shaders. The thread's end releases them again.
void FirstFrames(benchmark::State& state, int depth) {
  try {
    Rig& rig = RigFor(depth);
    Samples& samples = summaries[depth].first;
    for (auto _ : state) {
      std::thread whole([&] { samples.frame.push_back(TimeFrame(rig)); });
      whole.join();
      std::thread staged([&] {
        StageTimes times{};
        host::World output(kWidth, kHeight, depth);
        DrawStages(rig, output, times);
        samples.AddStages(times);
      });
      staged.join();
    }
    SetStageCounters(state, samples);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
}

void PrintStageTable(const Summary& s, int depth) {
  const double pixels = double(kWidth) * kHeight;
  const StageTimes first = s.first.StageMedians(), later = s.later.StageMedians();
  const double frameFirst = Median(s.first.frame), frame = Median(s.later.frame);
  std::printf("\n### Stages of a default %dx%d frame, %d-bit (Zoom Moderate, %.0f reads/px)\n\n",
              kWidth, kHeight, depth, s.readsPerPixel);
  std::printf(
      "| Stage | First frame on a thread (ms) | Later frames (ms) | Share of a later frame |\n");
  std::printf("|---|---:|---:|---:|\n");
  for (int k = 0; k < kStageCount; ++k) {
    std::printf("| %s | %.1f | %.1f | %.2f%% |\n", kStageNames[k], first[k] * 1e3, later[k] * 1e3,
                100.0 * later[k] / frame);
  }
  const double stagedFirst = Median(s.first.staged), staged = Median(s.later.staged);
  std::printf("| sum of the stages | %.1f | %.1f | %.2f%% |\n", stagedFirst * 1e3, staged * 1e3,
              100.0 * staged / frame);
  std::printf("| **whole frame through the host** | %.1f | %.1f | 100%% |\n", frameFirst * 1e3,
              frame * 1e3);
  const double rays = later[kRays], bare = Median(s.later.bare);
  const double effect = staged - later[kComposite];
  std::printf("\n| %d-bit, 1920x1080 Zoom Moderate (medians) | Value |\n|---|---:|\n", depth);
  std::printf("| whole frame through the host | %.1f ms |\n", frame * 1e3);
  std::printf("| ray pass in the frame | %.1f ms, %.0f M samples/s |\n", rays * 1e3,
              pixels * s.readsPerPixel / rays * 1e-6);
  std::printf("| bare draw of the ray program | %.1f ms, %.0f M samples/s |\n", bare * 1e3,
              pixels * s.readsPerPixel / bare * 1e-6);
  std::printf("| per-frame overhead share, (frame - ray pass) / frame | %.2f%% |\n",
              100.0 * (frame - rays) / frame);
  std::printf("| the same, median of each iteration's frame and replay | %.2f%% |\n",
              100.0 * Median(s.later.overheadShare));
  if (s.beforeFrame > 0) {
    std::printf(
        "| whole frames, earlier module / this one (same run) | %.1f ms / %.1f ms, "
        "overhead share against this ray pass %.2f%% / %.2f%% |\n",
        s.beforeFrame * 1e3, s.afterFrame * 1e3, 100.0 * (s.beforeFrame - rays) / s.beforeFrame,
        100.0 * (s.afterFrame - rays) / s.afterFrame);
  }
  std::printf("| the effect's own overhead, (stages - composite - ray pass) / frame | %.2f%% |\n",
              100.0 * (effect - rays) / frame);
  std::printf("| ray pass against the bare draw | %+.2f%% |\n", 100.0 * (rays / bare - 1.0));
  const double perFrame = Median(s.later.stagedPerFrameTargets);
  std::printf(
      "| stages with targets created and deleted in every frame (the earlier order, with "
      "this frame's clears) | "
      "%.1f ms, x%.4f of the frame's order |\n",
      perFrame * 1e3, perFrame / staged);
}

// Whole frames through two module files in turn: the one built with this benchmark and
// an earlier build (SOLVANE_BEFORE_MODULE), same input, same controls, same run.
void BeforeAndAfter(benchmark::State& state, std::string beforePath, int depth) {
  try {
    auto before = MakeModuleHost(beforePath, kWidth, kHeight);
    auto after = MakeEffectHost(kWidth, kHeight, false);
    const host::World input = Skyline(kWidth, kHeight, depth);
    // Wall time, and the CPU time of every thread of the process (the driver's rasteriser
    // threads included), which other work on the machine disturbs much less.
    std::vector<double> beforeCpu, afterCpu;
    const auto timed = [&](host::Host& host, host::World& output, std::vector<double>* cpu) {
      const double cpuStart = ProcessCpuSeconds();
      const Clock::time_point start = Clock::now();
      host::FrameResult frame = host::RenderFrameThroughModule(host, input, {.depth = depth});
      CheckFrame(frame, "frame");
      const double seconds = Seconds(start);
      if (cpu != nullptr) cpu->push_back(ProcessCpuSeconds() - cpuStart);
      output = std::move(frame.output);
      return seconds;
    };
    host::World a, b;
    timed(*before, a, nullptr);  // each module's first frame creates its context and programs
    timed(*after, b, nullptr);
    std::vector<double> beforeTimes, afterTimes;
    for (auto _ : state) {
      beforeTimes.push_back(timed(*before, a, &beforeCpu));
      afterTimes.push_back(timed(*after, b, &afterCpu));
      if (!host::SameBytes(a, b)) throw std::runtime_error("the two modules' frames differ");
    }
    const double tb = Median(beforeTimes), ta = Median(afterTimes);
    summaries[depth].beforeFrame = tb;
    summaries[depth].afterFrame = ta;
    state.counters["before_ms"] = tb * 1e3;
    state.counters["after_ms"] = ta * 1e3;
    state.counters["after/before"] = ta / tb;
    const double cb = Median(beforeCpu), ca = Median(afterCpu);
    state.counters["cpu after/before"] = ca / cb;
    std::printf(
        "before/after %d-bit: wall before %.1f ms, after %.1f ms, after/before %.4f; "
        "process CPU before %.1f ms, after %.1f ms, after/before %.4f (medians); pixels "
        "identical\n",
        depth, tb * 1e3, ta * 1e3, ta / tb, cb * 1e3, ca * 1e3, ca / cb);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
}

void Register() {
  for (const int depth : {8, 32}) {
    const std::string bits = "/" + std::to_string(depth) + "bit";
    benchmark::RegisterBenchmark(("LaterFrames" + bits).c_str(), LaterFrames, depth)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(9);
    benchmark::RegisterBenchmark(("FirstFrames" + bits).c_str(), FirstFrames, depth)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(2);
    if (const char* before = std::getenv("SOLVANE_BEFORE_MODULE")) {
      benchmark::RegisterBenchmark(("BeforeAfter" + bits).c_str(), BeforeAndAfter,
                                   std::string(before), depth)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime()
          ->Iterations(7);
    }
  }
}

}  // namespace
}  // namespace solvane::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  solvane::bench::Register();
  double before[3] = {}, after[3] = {};
  getloadavg(before, 3);
  benchmark::RunSpecifiedBenchmarks();
  getloadavg(after, 3);
  for (const auto& [depth, summary] : solvane::bench::summaries) {
    if (!summary.later.frame.empty() && !summary.first.frame.empty()) {
      solvane::bench::PrintStageTable(summary, depth);
    }
  }
  std::printf("\nGL: %s\nLoad average (1 min) before %.2f, after %.2f.\n",
              solvane::bench::glDriver.c_str(), before[0], after[0]);
  benchmark::Shutdown();
  return 0;
}
