// The progress line of a sequence on a terminal: frame i of n, frames per second and the
// time left, rewritten in place on stderr. Silent when stderr is not a terminal.
#pragma once

#include <chrono>
#include <cstdio>

namespace solvane::cli {

class Progress {
 public:
  // Shown only for more than one frame, when not quiet and stderr is a terminal.
  Progress(int frames, bool quiet);
  void FrameDone();
  // A frame that needs no rendering leaves the count, so the time left stays right.
  void FrameSkipped() { --frames_; }
  // Ends the line, so later messages start on a line of their own; later calls do nothing.
  void Finish();

 private:
  int frames_;
  int done_ = 0;
  bool shown_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace solvane::cli
