#include "FuzzInput.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace solvane::fuzz {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

std::string ScratchFile(const std::string& name, const uint8_t* bytes, size_t size) {
  // One folder per process: -jobs and -workers runs share the machine's temporary folder.
  static const std::filesystem::path folder = [] {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("solvane-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(path);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(folder, ignored);
    });
    return path;
  }();
  const std::string path = (folder / name).string();
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    std::perror(path.c_str());
    std::abort();
  }
  const bool written = std::fwrite(bytes, 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) {
    std::perror(path.c_str());
    std::abort();
  }
  return path;
}

}  // namespace solvane::fuzz
