// The frames of one render and the checks made on them before any work: every input frame
// there and of one size, every output writable and none of them an input.
#pragma once

#include <string>

#include "tools/render/FramePattern.h"
#include "tools/render/ImageIO.h"

namespace solvane::cli {

struct RenderOptions;

struct SequenceFrame {
  int number = 0;
  std::string input;
  std::string output;
};

// The frames' names, made one at a time, so that a long range costs no memory.
struct SequencePlan {
  FrameRange range;    // the frames of this run: --frames, or its --chunk share
  std::string input;   // pattern, or one file for every frame
  std::string output;  // pattern, or the still's name
  bool empty = true;   // no INPUT: nothing is rendered
  std::string share{};  // "frames 12-23 (chunk 1/4 of 0-47)", as the run's report names it
  ImageHeader first{};  // the first input frame's header

  int Count() const { return empty ? 0 : range.Count(); }
  // The i-th frame, 0 <= i < Count().
  SequenceFrame Frame(int i) const;
};

// The frames of `range` (the --frames range) that this run renders, all of them or the
// --chunk share, checked before anything is rendered or written. Throws OptionError for a
// malformed --chunk or one without --frames, when several frames of the whole range
// would share one output name or an output (or the preset to save) is one of the
// command's inputs, and ImageError naming the first missing or unreadable input frame of
// the share, one whose size differs from the first's, or an output that cannot be written.
SequencePlan PlanSequence(const RenderOptions& options, const FrameRange& range);

// True when both names lead to one file: the same path once made absolute and normal,
// or, for files that exist, the same file through links.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace solvane::cli
