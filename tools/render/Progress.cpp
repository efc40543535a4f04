#include "tools/render/Progress.h"

#include <unistd.h>

namespace solvane::cli {

Progress::Progress(int frames, bool quiet)
    : frames_(frames), shown_(frames > 1 && !quiet && isatty(STDERR_FILENO) == 1) {}

void Progress::FrameDone() {
  ++done_;
  if (!shown_) return;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const double fps = seconds > 0 ? done_ / seconds : 0;
  const int left = fps > 0 ? int((frames_ - done_) / fps + 0.5) : 0;
  std::fprintf(stderr, "\rframe %d of %d  %.2f frames/s  %d:%02d left ", done_, frames_, fps,
               left / 60, left % 60);
  std::fflush(stderr);
}

void Progress::Finish() {
  if (shown_ && done_ > 0) std::fputc('\n', stderr);
  shown_ = false;  // once: a report after the line must not get a blank line as well
}

}  // namespace solvane::cli
