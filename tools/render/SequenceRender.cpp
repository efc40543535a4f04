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
  WriteImage(partial.string(), world);
  std::error_code error;
  fs::rename(partial, target, error);
  if (error) {
    fs::remove(partial, error);
    throw ImageError("cannot write \"" + path + "\": " + error.message());
  }
}

struct PendingFrame {
  const SequenceFrame* frame;
  std::future<host::FrameResult> result;
};

class SequenceRun {
 public:
  SequenceRun(host::Host& host, const RenderOptions& options, int frames)
      : host_(host), options_(options), progress_(frames, options.quiet) {
    if (!options.background.empty()) background_ = ParseColour(options.background);
  }
  ~SequenceRun() { progress_.Finish(); }

  SequenceFailure Run(const SequencePlan& plan);

 private:
  std::shared_ptr<const host::World> ReadFrame(const SequenceFrame& frame);
  bool Finish(PendingFrame& pending, SequenceFailure& failure);

  host::Host& host_;
  const RenderOptions& options_;
  Progress progress_;
  std::optional<Colour> background_;
  int depth_ = 0;
  A_long width_ = -1, height_ = -1;
};

std::shared_ptr<const host::World> SequenceRun::ReadFrame(const SequenceFrame& frame) {
  host::World image = ReadImage(frame.input, depth_ == 0 ? options_.depth : depth_);
  if (width_ < 0) {
    depth_ = image.Depth();
    width_ = image.Width();
    height_ = image.Height();
    host::LayerState& layer = host_.Layer();
    layer.width = width_;
    layer.height = height_;
    layer.downsampleX = layer.downsampleY = {1, A_u_long(options_.downsample)};
    layer.kind =
        options_.adjustmentLayer ? host::LayerKind::kAdjustment : host::LayerKind::kOrdinary;
  } else if (image.Width() != width_ || image.Height() != height_) {
    throw ImageError("\"" + frame.input + "\" is " + std::to_string(image.Width()) + "x" +
                     std::to_string(image.Height()) + ", the sequence's first frame " +
                     std::to_string(width_) + "x" + std::to_string(height_));
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
    std::shared_ptr<const host::World> input = ReadFrame(frame);
    request.depth = depth_;
    request.time = A_long(frame.number) * A_long(host_.Layer().timeStep);
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

SequenceFailure RenderSequence(host::Host& host, const RenderOptions& options,
                               const SequencePlan& plan) {
  SequenceRun run(host, options, int(plan.frames.size()));
  return run.Run(plan);
}

}  // namespace solvane::cli
