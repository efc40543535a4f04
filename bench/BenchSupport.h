// Shared pieces of the benchmark programs: a stand-in host with the effect set up for a
// layer, a deterministic input picture, the cases the benchmarks render, and the texture
// reads a frame's ray pass makes, counted from the values the frame handed to it.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/gl/GLApi.h"
#include "core/gl/PixelView.h"
#include "core/gl/Pod.h"
#include "host/FrameRender.h"
#include "host/Host.h"
#include "host/World.h"
#include "core/controls/ControlTable.h"

namespace solvane::bench {

enum Quality { kDraft = 1, kModerate = 2, kHigh = 3, kExtreme = 4, kCustom = kQualityCustom };

// What a benchmark renders; every other control keeps its default.
struct Case {
  std::string name;
  int mode = 2;          // 1 spin, 2 zoom
  int quality = kModerate;
  int samples = 64;      // only with kCustom
  double aberration = 0; // percent
};

// The cases of the whole-frame suite: Zoom Draft, Moderate and High, Spin Moderate and
// Zoom Moderate with chromatic aberration.
const std::vector<Case>& FrameCases();

// A host with global and parameter set-up done for a width x height layer. `linked`
// drives the effect linked into the benchmark (so the toolkit's own state is reachable
// from it); otherwise the module file is loaded as After Effects would load it.
std::unique_ptr<host::Host> MakeEffectHost(int width, int height, bool linked);
// The same with the module file at modulePath.
std::unique_ptr<host::Host> MakeModuleHost(const std::string& modulePath, int width, int height);

// Sets the case's controls, with "Position" in the middle of the layer.
void ApplyCase(host::Host& host, const Case& c, int width, int height);

// The world's pixels as the effect's render code sees them; throws for a world the effect
// would refuse.
PixelView ViewOf(const host::World& world);

// A night-sky picture: dark ground, lit windows, a few bright sources and a transparent
// sky, in straight colour as worlds hold it. The same pixels every run.
host::World Skyline(int width, int height, int depth);

// Every uniform value the toolkit applied, per program, in the order programs were drawn.
class UniformRecorder : public UniformObserver {
 public:
  UniformRecorder();
  ~UniformRecorder() override;
  void OnUniformApplied(GLuint program, std::string_view name,
                        const UniformValue& value) override;
  // The values of the n-th program drawn (0: pre-process, 1: rays).
  UniformTable Pass(size_t n) const;
  GLuint Program(size_t n) const;
  size_t Passes() const;

 private:
  mutable std::mutex mutex_;
  UniformObserver* previous_ = nullptr;
  std::vector<GLuint> programs_;
  std::vector<UniformTable> tables_;
};

// Texture reads per output pixel of a ray pass drawn with these values: N per enabled
// zoom direction, 2N for spin, three times that with chromatic aberration.
double RayReadsPerPixel(const UniformTable& rayUniforms);

// Renders one frame of `input` with the linked effect and reports the ray pass's values;
// throws on any error.
UniformTable CaptureRayUniforms(host::Host& host, const host::World& input, int depth);

// The ray pass's reads per pixel for the case at an output `width` pixels wide. The sample
// count depends on the width and the controls only, so a one-row frame through the linked
// effect tells it cheaply.
double ReadsPerPixelFor(const Case& c, int width);

// Throws std::runtime_error naming the step when a frame failed.
void CheckFrame(const host::FrameResult& result, const char* what);

}  // namespace solvane::bench
