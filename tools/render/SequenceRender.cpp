#include "tools/render/SequenceRender.h"

#include <deque>
#include <exception>
#include <filesystem>
#include <future>
#include <iostream>
#include <memory>
#include <optional>

#include "host/RenderPool.h"
#include "host/WorldOps.h"
#include "tools/render/AtomicFile.h"
#include "tools/render/Background.h"
#include "tools/render/ImageIO.h"
#include "tools/render/Interrupt.h"
#include "tools/render/Keyframes.h"
#include "tools/render/Progress.h"
#include "tools/render/RenderCommand.h"
#include "tools/render/Quoted.h"

namespace solvane::cli {
namespace {

void DescribeLayer(host::LayerState& layer, const host::World& image,
                   const RenderOptions& options) {
  layer.width = image.Width();
  layer.height = image.Height();
  layer.downsampleX = layer.downsampleY = {1, A_u_long(options.downsample)};
  layer.kind = options.adjustmentLayer ? host::LayerKind::kAdjustment : host::LayerKind::kOrdinary;
}

// An output left by an earlier run counts as done only when the tool's own reader takes
// it whole, header and pixels, as it takes an input: a file cut short is rendered again.
bool ReadsBackWhole(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  try {
    ReadImage(path, 0);
    return true;
  } catch (const ImageError&) {
    return false;
  }
}

// Floor and ceiling of a / n for n > 0.
int FloorDiv(int a, int n) {
  return a >= 0 ? a / n : -((-a + n - 1) / n);
}
int CeilDiv(int a, int n) {
  return -FloorDiv(-a, n);
}

// The input's windows for an output that is the rectangle `result` of the layer (at the
// render's downsample): the display window stays the input's, and the data window moves
// with the rectangle, so a buffer expansion shows as a data window beyond the display one.
ImageWindows OutputWindows(const ImageWindows& input, const PF_LRect& result, int downsample) {
  if (!input.declared) return input;
  ImageWindows out = input;
  out.x = FloorDiv(input.x, downsample) + result.left;
  out.y = FloorDiv(input.y, downsample) + result.top;
  out.displayX = FloorDiv(input.displayX, downsample);
  out.displayY = FloorDiv(input.displayY, downsample);
  out.displayWidth = CeilDiv(input.displayWidth, downsample);
  out.displayHeight = CeilDiv(input.displayHeight, downsample);
  return out;
}

struct PendingFrame {
  SequenceFrame frame;
  std::future<host::FrameResult> result;
};

class SequenceRun {
 public:
  SequenceRun(host::Host& host, const RenderOptions& options, int frames, host::World first,
              const ImageWindows& windows)
      : host_(host),
        options_(options),
        progress_(frames, options.quiet),
        first_(std::move(first)),
        depth_(first_.Depth()),
        frames_(frames),
        windows_(windows) {
    if (!options.background.empty()) background_ = ParseColour(options.background);
  }
  ~SequenceRun() { progress_.Finish(); }

  SequenceFailure Run(const SequencePlan& plan);

 private:
  std::shared_ptr<const host::World> ReadFrame(const SequenceFrame& frame, bool first);
  bool Finish(PendingFrame& pending, SequenceFailure& failure);
  SequenceFailure RenderAll(const SequencePlan& plan);
  bool Skips(const SequenceFrame& frame);
  std::string WrittenText() const;

  host::Host& host_;
  const RenderOptions& options_;
  Progress progress_;
  std::optional<Colour> background_;
  host::World first_;  // the first frame, read before the controls were set
  int depth_ = 0;
  int frames_ = 0;
  ImageWindows windows_;  // the first input frame's
  int written_ = 0;
  int skipped_ = 0;
};

std::shared_ptr<const host::World> SequenceRun::ReadFrame(const SequenceFrame& frame, bool first) {
  host::World image = first ? std::move(first_) : ReadImage(frame.input, depth_);
  const host::LayerState& layer = host_.Layer();
  if (image.Width() != layer.width || image.Height() != layer.height) {
    throw ImageError(Quoted(frame.input) + " is " + std::to_string(image.Width()) + "x" +
                     std::to_string(image.Height()) + ", the sequence's first frame " +
                     std::to_string(layer.width) + "x" + std::to_string(layer.height));
  }
  if (options_.downsample > 1) image = host::BoxDownsample(image, options_.downsample);
  return std::make_shared<const host::World>(std::move(image));
}

bool SequenceRun::Finish(PendingFrame& pending, SequenceFailure& failure) {
  host::FrameResult result = pending.result.get();
  if (result.err != PF_Err_NONE) {
    const PF_LRect& rect = result.preRenderOutput.result_rect;
    failure = {result.err,
               pending.frame.number,
               result.rendered ? "the smart render" : "the pre-render",
               result.renderOutData,
               written_,
               rect.right - rect.left,
               rect.bottom - rect.top};
    return false;
  }
  if (result.output.Empty()) {
    throw RenderError("the effect returned an empty image for frame " +
                      std::to_string(pending.frame.number) + " (the layer has no visible pixels)");
  }
  // A frame finished after a signal is dropped: the user asked to stop.
  if (InterruptSignal() != 0) return false;
  if (background_) FlattenOver(result.output, *background_);
  WriteImage(pending.frame.output, result.output,
             OutputWindows(windows_, result.preRenderOutput.result_rect, options_.downsample));
  ++written_;
  progress_.FrameDone();
  return true;
}

bool SequenceRun::Skips(const SequenceFrame& frame) {
  if (!options_.skipExisting || !ReadsBackWhole(frame.output)) return false;
  ++skipped_;
  progress_.FrameSkipped();
  return true;
}

std::string SequenceRun::WrittenText() const {
  return std::to_string(written_) + " of " + std::to_string(frames_) +
         (frames_ == 1 ? " frame written" : " frames written") +
         (skipped_ > 0 ? ", " + std::to_string(skipped_) + " skipped (already whole)" : "");
}

SequenceFailure SequenceRun::RenderAll(const SequencePlan& plan) {
  host::RenderPool pool(host_, options_.threads);
  std::deque<PendingFrame> inFlight;
  SequenceFailure failure;
  bool failed = false;
  std::exception_ptr unreadable;
  for (int i = 0; i < plan.Count() && !failed && InterruptSignal() == 0; ++i) {
    const SequenceFrame frame = plan.Frame(i);
    if (Skips(frame)) continue;
    std::shared_ptr<const host::World> input;
    try {
      input = ReadFrame(frame, i == 0);
    } catch (const ImageError&) {
      // The frames already rendered are still written before the failure is reported.
      unreadable = std::current_exception();
      break;
    }
    host::FrameRequest request;
    request.depth = depth_;
    request.time = FrameTime(frame.number, host_.Layer());
    inFlight.push_back({frame, pool.Submit(input, request)});
    // A few frames ahead of the one being written keep every thread busy.
    if (int(inFlight.size()) > options_.threads) {
      failed = !Finish(inFlight.front(), failure);
      inFlight.pop_front();
    }
  }
  while (!failed && !inFlight.empty()) {
    failed = !Finish(inFlight.front(), failure);
    inFlight.pop_front();
  }
  pool.Shutdown();  // the render threads end here, which releases their GL contexts
  if (unreadable && !failed) std::rethrow_exception(unreadable);
  return failure;
}

SequenceFailure SequenceRun::Run(const SequencePlan& plan) {
  SequenceFailure failure;
  // A still's message needs no count; a sequence's says what is already on disk.
  const auto counted = [this](const std::exception& e) {
    return frames_ > 1 ? std::string(e.what()) + "; " + WrittenText() : std::string(e.what());
  };
  const auto stopped = [this](int signal) {
    return Interrupted(
        signal, "stopped by " + SignalName(signal) + ": " + WrittenText() + ", each one whole");
  };
  try {
    failure = RenderAll(plan);
  } catch (const Interrupted& e) {
    throw Interrupted(e.Signal(), std::string(e.what()) + "; " + WrittenText());
  } catch (const std::exception& e) {
    // A read or write the signal cut short is the signal's doing, not the file's.
    if (const int signal = InterruptSignal(); signal != 0) throw stopped(signal);
    if (dynamic_cast<const ImageError*>(&e) != nullptr) throw ImageError(counted(e));
    if (dynamic_cast<const FileError*>(&e) != nullptr) throw FileError(counted(e));
    if (dynamic_cast<const RenderError*>(&e) != nullptr) throw RenderError(counted(e));
    throw;
  }
  if (const int signal = InterruptSignal(); signal != 0) throw stopped(signal);
  failure.written = written_;
  failure.skipped = skipped_;
  progress_.Finish();
  // A farm task's log says what it did, whatever --quiet says of the progress line.
  if (failure.err == PF_Err_NONE && (options_.skipExisting || !options_.chunk.empty())) {
    std::cerr << "solvane-render: " << plan.share << ": " << WrittenText() << "\n";
  }
  return failure;
}

}  // namespace

host::World ReadFirstFrame(host::Host& host, const RenderOptions& options,
                           const SequencePlan& plan) {
  host::World image = ReadImage(plan.Frame(0).input, options.depth);
  DescribeLayer(host.Layer(), image, options);
  return image;
}

SequenceFailure RenderSequence(host::Host& host, const RenderOptions& options,
                               const SequencePlan& plan, host::World first) {
  SequenceRun run(host, options, plan.Count(), std::move(first), plan.first.windows);
  return run.Run(plan);
}

}  // namespace solvane::cli
