// Every file solvane-render writes (images, presets) reaches its name in one step: the
// bytes go to a temporary file of a name unique to this process in the target's folder,
// are flushed to the disk, and the temporary file is renamed over the target. On any
// failure the temporary file is removed and whatever was at the target stays as it was.
// A target that is a device or a FIFO (or names one of the process's own descriptors, such
// as /dev/stdout) is written into directly instead, never replaced; a socket is refused.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace solvane::cli {

// A file that could not be written; the message names the file and the system's reason.
class FileError : public std::runtime_error {
 public:
  explicit FileError(const std::string& message) : std::runtime_error(message) {}
};

// Writes `bytes` to `path` as described above. Throws FileError with
// "cannot write \"PATH\": REASON" (REASON as the system words it: "No space left on
// device", "Permission denied", "File name too long", "Is a directory"), and Interrupted
// when a noted signal cuts short the open of a FIFO that has no reader.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// The temporary name for `fileName` (a name without folders): hidden, starting with
// ".partial-", unique per process and call, and short enough for any file system whatever
// the length of `fileName`.
std::string TemporaryName(const std::string& fileName, uint64_t process, uint64_t counter);

}  // namespace solvane::cli
