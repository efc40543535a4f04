// How the tool's messages name a file or a control: in double quotes, so that spaces and
// empty names stand out.
#pragma once

#include <string>

namespace solvane::cli {

inline std::string Quoted(const std::string& name) {
  return "\"" + name + "\"";
}

}  // namespace solvane::cli
