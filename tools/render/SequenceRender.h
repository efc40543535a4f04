// The loop that reads the frames of a plan, renders them on host threads and writes them
// in order, stopping at a frame boundary on SIGINT or SIGTERM.
#pragma once

#include <string>
#include <vector>

#include "host/Host.h"
#include "host/World.h"
#include "tools/render/SequencePlan.h"

namespace solvane::cli {

struct RenderOptions;

struct SequenceFailure {
  PF_Err err = PF_Err_NONE;
  int frame = 0;
  std::string what;  // "the pre-render" or "the smart render"
  PF_OutData out{};
  int written = 0;                        // frames written before the failure
  int outputWidth = 0, outputHeight = 0;  // the failing frame's result rectangle
  int skipped = 0;                        // frames already whole (--skip-existing)
};

// Reads the plan's first frame and describes the layer to the host as it shows it (size,
// downsample, kind), so that control values which depend on the layer, such as a point's
// default at its centre, are right before the controls are set or saved. Throws
// ImageError.
host::World ReadFirstFrame(host::Host& host, const RenderOptions& options,
                           const SequencePlan& plan);

// Renders every frame of the plan, `first` being what ReadFirstFrame returned; with
// --skip-existing a frame whose output reads back whole is kept and counted instead. With
// --chunk or --skip-existing a finished run reports on stderr what it wrote and skipped.
// Throws ImageError or FileError for a file and RenderError for an empty result (each
// message saying how many frames were written), Interrupted for SIGINT or SIGTERM, and
// returns the first module error with the frame it happened on. Frames before a failure
// are written; the failing one and those after it are not.
SequenceFailure RenderSequence(host::Host& host, const RenderOptions& options,
                               const SequencePlan& plan, host::World first);

}  // namespace solvane::cli
