// One task's share of a sequence on a render farm: "--chunk K/N" names the K-th (from 0)
// of N near-equal, contiguous shares of the --frames range, so that a scheduler's task
// index (Slurm's SLURM_ARRAY_TASK_ID, a Kubernetes Job's JOB_COMPLETION_INDEX) can be
// passed as it is.
#pragma once

#include <string>

#include "tools/render/FramePattern.h"

namespace solvane::cli {

struct FrameChunk {
  int index = 0;  // K, 0 <= K < N
  int count = 1;  // N
};

// "K/N" with 0 <= K < N; throws OptionError naming --chunk and what is wrong.
FrameChunk ParseFrameChunk(const std::string& text);

// The chunk's frames: the N shares cover the range once, in order, and differ in length
// by one frame at most. A share of a range shorter than N may hold no frame (Count() 0).
FrameRange ChunkOf(const FrameRange& range, const FrameChunk& chunk);

}  // namespace solvane::cli
