// Numbered image sequences: a frame range "A-B" and file names that carry the frame
// number as "####" (as many digits as there are #) or printf's "%04d".
#pragma once

#include <string>

namespace solvane::cli {

struct FrameRange {
  int first = 0;
  int last = 0;
  int Count() const { return last - first + 1; }
};

// "A-B" with 0 <= A <= B, or a single frame "A"; throws OptionError naming --frames.
FrameRange ParseFrameRange(const std::string& text);

// True when the name holds a "#" run or a "%d"-style frame number.
bool HasFramePattern(const std::string& pattern);

// The name for one frame: the first "#" run becomes the number zero-padded to the run's
// length, or the first "%d" / "%0Nd" is formatted (and "%%" around it becomes "%", as in
// printf; "%%d" is no pattern); a name without a pattern is returned unchanged. Throws
// OptionError for a malformed "%" pattern.
std::string ExpandFramePattern(const std::string& pattern, int frame);

}  // namespace solvane::cli
