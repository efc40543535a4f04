#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "tools/render/AtomicFile.h"

namespace solvane::cli {
namespace {

std::atomic<uint64_t> temporaryCount{0};

[[noreturn]] void Fail(const std::string& path, int error) {
  throw FileError("cannot write \"" + path + "\": " + std::strerror(error));
}

// The whole buffer, through short writes and interruptions; 0 or the failing errno.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return written < 0 ? errno : EIO;
    bytes.remove_prefix(size_t(written));
  }
  return 0;
}

// Writes and syncs the temporary file; 0 or the first errno.
int WriteTemporary(const std::string& temporary, std::string_view bytes) {
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  int error = WriteAll(fd, bytes);
  // Data that only reached the page cache can still be lost to a full or failing disk;
  // fsync reports that while the previous file is still in place.
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  std::error_code ignored;
  if (fs::is_directory(target, ignored)) Fail(path, EISDIR);
  const std::string name = target.filename().string();
  fs::path temporary;
  int error = EEXIST;
  // A name left behind by a killed process that had this process's id is skipped.
  for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
    temporary = target.parent_path() / TemporaryName(name, uint64_t(::getpid()), ++temporaryCount);
    error = WriteTemporary(temporary.string(), bytes);
  }
  if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    if (error != EEXIST) ::unlink(temporary.c_str());
    Fail(path, error);
  }
}

}  // namespace solvane::cli
