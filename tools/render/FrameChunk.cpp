#include "tools/render/FrameChunk.h"

#include <charconv>
#include <cstdint>

#include "tools/render/ParamAssignment.h"

namespace solvane::cli {
namespace {

bool ReadCount(const std::string& text, int& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// A long text is shown by its start: a message stays one readable line.
std::string Shown(const std::string& text) {
  return "\"" + (text.size() <= 40 ? text : text.substr(0, 40) + "...") + "\"";
}

}  // namespace

FrameChunk ParseFrameChunk(const std::string& text) {
  const size_t slash = text.find('/');
  FrameChunk chunk;
  if (slash == 0) {
    // What a farm script gives when its task index variable is not set.
    throw OptionError("--chunk " + Shown(text) + ": K is missing (is the task index set?)");
  }
  if (slash == std::string::npos || !ReadCount(text.substr(0, slash), chunk.index) ||
      !ReadCount(text.substr(slash + 1), chunk.count)) {
    throw OptionError("--chunk wants K/N, the K-th of N shares counted from 0, not " + Shown(text));
  }
  if (chunk.count == 0) throw OptionError("--chunk " + Shown(text) + ": N must be 1 or more");
  if (chunk.index >= chunk.count) {
    throw OptionError("--chunk " + Shown(text) + ": K counts from 0, so it is 0 to " +
                      std::to_string(chunk.count - 1));
  }
  return chunk;
}

FrameRange ChunkOf(const FrameRange& range, const FrameChunk& chunk) {
  // 64 bits: the product of a long range and a large N does not fit in an int.
  const int64_t frames = range.Count();
  const auto start = [&](int64_t k) { return range.first + int(k * frames / chunk.count); };
  return {start(chunk.index), start(int64_t(chunk.index) + 1) - 1};
}

}  // namespace solvane::cli
