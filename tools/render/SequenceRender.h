// The frames of one render: their file names, checked before any work, and the loop that
// reads, renders on host threads and writes them in order.
#pragma once

#include <string>
#include <vector>

#include "host/Host.h"
#include "host/World.h"
#include "tools/render/FramePattern.h"

namespace solvane::cli {

struct RenderOptions;

struct SequenceFrame {
  int number = 0;
  std::string input;
  std::string output;
};

struct SequencePlan {
  std::vector<SequenceFrame> frames;
};

// The frames' file names. Throws OptionError when several frames would share one output
// name, and ImageError naming the first missing input frame or an output that cannot be
// written, so nothing is rendered or written for a sequence that cannot finish.
SequencePlan PlanSequence(const RenderOptions& options, const FrameRange& range);

struct SequenceFailure {
  PF_Err err = PF_Err_NONE;
  int frame = 0;
  std::string what;  // "the pre-render" or "the smart render"
  PF_OutData out{};
};

// Reads the plan's first frame and describes the layer to the host as it shows it (size,
// downsample, kind), so that control values which depend on the layer, such as a point's
// default at its centre, are right before the controls are set or saved. Throws
// ImageError.
host::World ReadFirstFrame(host::Host& host, const RenderOptions& options,
                           const SequencePlan& plan);

// Renders every frame of the plan, `first` being what ReadFirstFrame returned; throws
// ImageError for a file and RenderError for an empty result, and returns the first module
// error with the frame it happened on. Frames before a failure are written; the failing
// one and those after it are not.
SequenceFailure RenderSequence(host::Host& host, const RenderOptions& options,
                               const SequencePlan& plan, host::World first);

}  // namespace solvane::cli
