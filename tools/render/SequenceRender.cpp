#include "tools/render/SequenceRender.h"

#include <deque>
#include <filesystem>
#include <future>
#include <memory>
#include <optional>

#include "host/RenderPool.h"
#include "host/WorldOps.h"
#include "tools/render/Background.h"
#include "tools/render/ImageIO.h"
#include "tools/render/Keyframes.h"
#include "tools/render/Progress.h"
#include "tools/render/RenderCommand.h"

namespace solvane::cli {
namespace {

namespace fs = std::filesystem;

// The finished file appears only by renaming, so a reader never sees half a frame and an
// interrupted render leaves no truncated image under the real name.
void WriteAtomically(const std::string& path, const host::World& world) {
  const fs::path target(path);
  const fs::path partial = target.parent_path() / (".partial-" + target.filename().string());
  std::error_code error;
  try {
    WriteImage(partial.string(), world);
  } catch (const ImageError& e) {
    // The user knows the output's name, not the temporary one, and nothing may be left.
    fs::remove(partial, error);
    std::string message = e.what();
    const size_t at = message.find(partial.string());
    if (at != std::string::npos) message.replace(at, partial.string().size(), path);
    throw ImageError(message);
  }
  fs::rename(partial, target, error);
  if (error) {
    fs::remove(partial, error);
    throw ImageError("cannot write \"" + path + "\": " + error.message());
  }
}

void DescribeLayer(host::LayerState& layer, const host::World& image,
                   const RenderOptions& options) {
  layer.width = image.Width();
  layer.height = image.Height();
  layer.downsampleX = layer.downsampleY = {1, A_u_long(options.downsample)};
  layer.kind = options.adjustmentLayer ? host::LayerKind::kAdjustment : host::LayerKind::kOrdinary;
}

struct PendingFrame {
  const SequenceFrame* frame;
  std::future<host::FrameResult> result;
};

class SequenceRun {
 public:
  SequenceRun(host::Host& host, const RenderOptions& options, int frames, host::World first)
      : host_(host),
        options_(options),
        progress_(frames, options.quiet),
        first_(std::move(first)),
        depth_(first_.Depth()) {
    if (!options.background.empty()) background_ = ParseColour(options.background);
  }
  ~SequenceRun() { progress_.Finish(); }

  SequenceFailure Run(const SequencePlan& plan);

 private:
  std::shared_ptr<const host::World> ReadFrame(const SequenceFrame& frame, bool first);
  bool Finish(PendingFrame& pending, SequenceFailure& failure);

  host::Host& host_;
  const RenderOptions& options_;
  Progress progress_;
  std::optional<Colour> background_;
  host::World first_;  // the first frame, read before the controls were set
  int depth_ = 0;
};

std::shared_ptr<const host::World> SequenceRun::ReadFrame(const SequenceFrame& frame, bool first) {
  host::World image = first ? std::move(first_) : ReadImage(frame.input, depth_);
  const host::LayerState& layer = host_.Layer();
  if (image.Width() != layer.width || image.Height() != layer.height) {
    throw ImageError("\"" + frame.input + "\" is " + std::to_string(image.Width()) + "x" +
                     std::to_string(image.Height()) + ", the sequence's first frame " +
                     std::to_string(layer.width) + "x" + std::to_string(layer.height));
  }
  if (options_.downsample > 1) image = host::BoxDownsample(image, options_.downsample);
  return std::make_shared<const host::World>(std::move(image));
}

bool SequenceRun::Finish(PendingFrame& pending, SequenceFailure& failure) {
  host::FrameResult result = pending.result.get();
  if (result.err != PF_Err_NONE) {
    failure = {result.err, pending.frame->number,
               result.rendered ? "the smart render" : "the pre-render", result.renderOutData};
    return false;
  }
  if (result.output.Empty()) {
    throw RenderError("the effect returned an empty image for frame " +
                      std::to_string(pending.frame->number) + " (the layer has no visible pixels)");
  }
  if (background_) FlattenOver(result.output, *background_);
  WriteAtomically(pending.frame->output, result.output);
  progress_.FrameDone();
  return true;
}

SequenceFailure SequenceRun::Run(const SequencePlan& plan) {
  host::RenderPool pool(host_, options_.threads);
  std::deque<PendingFrame> inFlight;
  SequenceFailure failure;
  bool failed = false;
  for (const SequenceFrame& frame : plan.frames) {
    host::FrameRequest request;
    std::shared_ptr<const host::World> input = ReadFrame(frame, &frame == &plan.frames.front());
    request.depth = depth_;
    request.time = FrameTime(frame.number, host_.Layer());
    inFlight.push_back({&frame, pool.Submit(input, request)});
    // A few frames ahead of the one being written keep every thread busy.
    if (int(inFlight.size()) > options_.threads) {
      failed = !Finish(inFlight.front(), failure);
      inFlight.pop_front();
      if (failed) break;
    }
  }
  while (!failed && !inFlight.empty()) {
    failed = !Finish(inFlight.front(), failure);
    inFlight.pop_front();
  }
  pool.Shutdown();  // the render threads end here, which releases their GL contexts
  return failure;
}

}  // namespace

SequencePlan PlanSequence(const RenderOptions& options, const FrameRange& range) {
  SequencePlan plan;
  if (options.input.empty()) return plan;
  // Without --frames a pattern would quietly render frame 0 alone.
  for (const std::string* name : {&options.input, &options.output}) {
    if (options.frames.empty() && HasFramePattern(*name)) {
      throw OptionError("\"" + *name +
                        "\" names a frame number: give the frames with --frames A-B");
    }
  }
  if (range.Count() > 1 && !HasFramePattern(options.output)) {
    throw OptionError("--frames renders " + std::to_string(range.Count()) +
                      " frames: OUTPUT needs #### or %04d for the frame number");
  }
  for (int n = range.first; n <= range.last; ++n) {
    plan.frames.push_back(
        {n, ExpandFramePattern(options.input, n), ExpandFramePattern(options.output, n)});
  }
  for (const SequenceFrame& frame : plan.frames) {
    std::error_code error;
    if (fs::is_regular_file(frame.input, error)) continue;
    if (options.frames.empty()) {
      throw ImageError("cannot read \"" + frame.input + "\": there is no such file");
    }
    throw ImageError("input frame " + std::to_string(frame.number) + " is missing: \"" +
                     frame.input + "\"");
  }
  CheckOutputPath(plan.frames.front().output);
  return plan;
}

host::World ReadFirstFrame(host::Host& host, const RenderOptions& options,
                           const SequencePlan& plan) {
  host::World image = ReadImage(plan.frames.front().input, options.depth);
  DescribeLayer(host.Layer(), image, options);
  return image;
}

SequenceFailure RenderSequence(host::Host& host, const RenderOptions& options,
                               const SequencePlan& plan, host::World first) {
  SequenceRun run(host, options, int(plan.frames.size()), std::move(first));
  return run.Run(plan);
}

}  // namespace solvane::cli
