#include "shells/frei0r/PanelText.h"

#include <charconv>
#include <cstdio>

namespace solvane::frei0r {

std::string XmlEscaped(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string QmlQuoted(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\\' || c == '\'') quoted += '\\';
    if (c == '\n') {
      quoted += "\\n";
      continue;
    }
    quoted += c;
  }
  return quoted + "'";
}

std::string ExactNumber(double v) {
  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text, v);
  if (error == std::errc()) return std::string(text, end);
  std::snprintf(text, sizeof text, "%.17g", v);
  return text;
}

}  // namespace solvane::frei0r
