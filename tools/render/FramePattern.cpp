#include "tools/render/FramePattern.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <limits>

#include "tools/render/ParamAssignment.h"

namespace solvane::cli {
namespace {

// A long text is shown by its start: a message stays one readable line.
std::string Shown(const std::string& text) {
  return text.size() <= 40 ? text : text.substr(0, 40) + "...";
}

bool ReadFrameNumber(const std::string& text, int& value, const std::string& whole) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range) {
    throw OptionError("--frames \"" + Shown(whole) + "\": frame " + Shown(text) +
                      " is beyond the host's time range");
  }
  return error == std::errc() && end == text.data() + text.size();
}

// Where a "%d" or "%0Nd" starts and how long it is; npos when there is none.
size_t FindPercentPattern(const std::string& name, size_t& length, int& width) {
  for (size_t at = name.find('%'); at != std::string::npos; at = name.find('%', at + 1)) {
    // "%%" is printf's percent sign, never the start of a number.
    if (at + 1 < name.size() && name[at + 1] == '%') {
      ++at;
      continue;
    }
    size_t end = at + 1;
    while (end < name.size() && std::isdigit(static_cast<unsigned char>(name[end]))) ++end;
    if (end < name.size() && name[end] == 'd') {
      const std::string digits = name.substr(at + 1, end - at - 1);
      // A width past int's range reads as too large; ExpandFramePattern refuses it.
      width = 0;
      if (!digits.empty() &&
          std::from_chars(digits.data(), digits.data() + digits.size(), width).ec != std::errc()) {
        width = std::numeric_limits<int>::max();
      }
      length = end + 1 - at;
      return at;
    }
  }
  return std::string::npos;
}

// A printf pattern's text around the number: "%%" stands for "%".
std::string Unescaped(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '%') ++i;
  }
  return out;
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
    ok = ReadFrameNumber(text, range.first, text);
    range.last = range.first;
  } else {
    ok = ReadFrameNumber(text.substr(0, dash), range.first, text) &&
         ReadFrameNumber(text.substr(dash + 1), range.last, text);
  }
  if (!ok || range.last < range.first) {
    throw OptionError("--frames wants FIRST-LAST with 0 <= FIRST <= LAST, not \"" + Shown(text) +
                      "\"");
  }
  // 0-2147483647 is one frame more than an int counts; its count would wrap negative and
  // the render would do nothing and succeed.
  if (range.last - range.first == std::numeric_limits<int>::max()) {
    throw OptionError("--frames \"" + Shown(text) + "\" is more frames than one render takes (" +
                      std::to_string(std::numeric_limits<int>::max()) + " at most)");
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
  if (width > 32) {
    throw OptionError("frame number width in \"" + Shown(pattern) + "\" is too large (32 at most)");
  }
  return Unescaped(pattern.substr(0, at)) + Padded(frame, width) +
         Unescaped(pattern.substr(at + length));
}

}  // namespace solvane::cli
