// --frames ranges and numbered file names: the first line is a range, each further line a
// file name expanded for the range's first and last frames, as a sequence's frames are
// named.
#include <climits>
#include <cstddef>
#include <cstdint>

#include "support/FuzzInput.h"
#include "tools/render/FramePattern.h"
#include "tools/render/ParamAssignment.h"

using namespace solvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> lines = fuzz::Lines(fuzz::Text(data, size));
  cli::FrameRange range{0, INT_MAX};
  try {
    range = cli::ParseFrameRange(lines[0]);
    if (range.Count() <= 0) __builtin_trap();  // a parsed range always holds a frame
  } catch (const cli::OptionError&) {
  }
  for (size_t i = 1; i < lines.size(); ++i) {
    cli::HasFramePattern(lines[i]);
    try {
      cli::ExpandFramePattern(lines[i], range.first);
      cli::ExpandFramePattern(lines[i], range.last);
    } catch (const cli::OptionError&) {
    }
  }
  return 0;
}
