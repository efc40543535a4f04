// Small helpers the fuzz targets share: the input as text or split into lines, and a
// private scratch file for code that reads a named file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace solvane::fuzz {

inline std::string Text(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// The input split at '\n'; the last line need not end in one.
std::vector<std::string> Lines(const std::string& text);

// Replaces the file `name` (with its extension) in this process's scratch folder with
// `bytes` and returns its path. Aborts when it cannot be written: a fuzz run that cannot
// reach its input must not report coverage of nothing.
std::string ScratchFile(const std::string& name, const uint8_t* bytes, size_t size);

}  // namespace solvane::fuzz
