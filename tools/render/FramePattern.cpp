#include "tools/render/FramePattern.h"

#include <cctype>
#include <cstdio>

#include "tools/render/ParamAssignment.h"

namespace solvane::cli {
namespace {

bool ReadFrameNumber(const std::string& text, int& value) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  value = std::stoi(text);
  return true;
}

// Where a "%d" or "%0Nd" starts and how long it is; npos when there is none.
size_t FindPercentPattern(const std::string& name, size_t& length, int& width) {
  for (size_t at = name.find('%'); at != std::string::npos; at = name.find('%', at + 1)) {
    size_t end = at + 1;
    while (end < name.size() && std::isdigit(static_cast<unsigned char>(name[end]))) ++end;
    if (end < name.size() && name[end] == 'd') {
      const std::string digits = name.substr(at + 1, end - at - 1);
      width = digits.empty() ? 0 : std::stoi(digits);
      length = end + 1 - at;
      return at;
    }
  }
  return std::string::npos;
}

std::string Padded(int frame, int width) {
  std::string digits = std::to_string(frame);
  if (int(digits.size()) < width) digits.insert(0, size_t(width) - digits.size(), '0');
  return digits;
}

}  // namespace

FrameRange ParseFrameRange(const std::string& text) {
  FrameRange range;
  const size_t dash = text.find('-');
  bool ok = false;
  if (dash == std::string::npos) {
    ok = ReadFrameNumber(text, range.first);
    range.last = range.first;
  } else {
    ok = ReadFrameNumber(text.substr(0, dash), range.first) &&
         ReadFrameNumber(text.substr(dash + 1), range.last);
  }
  if (!ok || range.last < range.first) {
    throw OptionError("--frames wants FIRST-LAST with 0 <= FIRST <= LAST, not \"" + text + "\"");
  }
  return range;
}

bool HasFramePattern(const std::string& pattern) {
  size_t length = 0;
  int width = 0;
  return pattern.find('#') != std::string::npos ||
         FindPercentPattern(pattern, length, width) != std::string::npos;
}

std::string ExpandFramePattern(const std::string& pattern, int frame) {
  const size_t hash = pattern.find('#');
  if (hash != std::string::npos) {
    const size_t end = pattern.find_first_not_of('#', hash);
    const size_t run = (end == std::string::npos ? pattern.size() : end) - hash;
    return pattern.substr(0, hash) + Padded(frame, int(run)) + pattern.substr(hash + run);
  }
  size_t length = 0;
  int width = 0;
  const size_t at = FindPercentPattern(pattern, length, width);
  if (at == std::string::npos) return pattern;
  if (width > 32) throw OptionError("frame number width in \"" + pattern + "\" is too large");
  return pattern.substr(0, at) + Padded(frame, width) + pattern.substr(at + length);
}

}  // namespace solvane::cli
