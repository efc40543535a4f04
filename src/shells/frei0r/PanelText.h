// Text helpers for the editor descriptions written from the filter's parameters (Kdenlive's
// XML, Shotcut's QML).
#pragma once

#include <string>
#include <string_view>

namespace solvane::frei0r {

// Escaped for an XML attribute or element.
std::string XmlEscaped(std::string_view text);

// A QML (JavaScript) string literal in single quotes.
std::string QmlQuoted(std::string_view text);

// A number as the shortest text that reads back as the same double, so a default such as
// 1/12 of a turn (30 degrees) arrives unrounded.
std::string ExactNumber(double v);

}  // namespace solvane::frei0r
