#include "shells/frei0r/WriteTextFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace solvane::frei0r {

std::string WriteTextFile(const std::string& path, const std::string& text) {
  const std::string partial = path + ".partial";
  std::FILE* file = std::fopen(partial.c_str(), "wb");
  if (!file) return "cannot write " + path + ": " + std::strerror(errno);
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
                       std::fflush(file) == 0;
  const int writeError = errno;
  if (std::fclose(file) != 0 || !written) {
    std::remove(partial.c_str());
    return "cannot write " + path + ": " + std::strerror(written ? errno : writeError);
  }
  if (std::rename(partial.c_str(), path.c_str()) != 0) {
    const int renameError = errno;
    std::remove(partial.c_str());
    return "cannot write " + path + ": " + std::strerror(renameError);
  }
  return "";
}

}  // namespace solvane::frei0r
