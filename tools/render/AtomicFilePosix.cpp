#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "tools/render/AtomicFile.h"
#include "tools/render/Interrupt.h"
#include "tools/render/Quoted.h"

namespace solvane::cli {
namespace {

namespace fs = std::filesystem;

std::atomic<uint64_t> temporaryCount{0};

[[noreturn]] void Fail(const std::string& path, int error) {
  throw FileError("cannot write \"" + path + "\": " + std::strerror(error));
}

// A blocking call cut short by a signal that the command has noted ends the command; any
// other interruption is retried.
void StopIfNoted(const std::string& path) {
  if (const int signal = InterruptSignal(); signal != 0) {
    throw Interrupted(signal, "stopped by " + SignalName(signal) + " while writing " +
                                  Quoted(path) + " (nothing was written to it)");
  }
}

// The whole buffer, through short writes and interruptions; 0 or the failing errno. With
// `stoppable`, a noted signal ends a write that blocks (a FIFO whose reader stopped reading).
int WriteAll(int fd, std::string_view bytes, const std::string* stoppable) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) {
      if (stoppable != nullptr) StopIfNoted(*stoppable);
      continue;
    }
    if (written <= 0) return written < 0 ? errno : EIO;
    bytes.remove_prefix(size_t(written));
  }
  return 0;
}

// Writes and syncs the temporary file; 0 or the first errno.
int WriteTemporary(const std::string& temporary, std::string_view bytes) {
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  int error = WriteAll(fd, bytes, nullptr);
  // Data that only reached the page cache can still be lost to a full or failing disk;
  // fsync reports that while the previous file is still in place.
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

// True for a name of one of this process's descriptors (/dev/stdout, /dev/fd/1,
// /proc/self/fd/1), directly or through links: renaming over it would replace the
// system's link, whatever file the descriptor is.
bool NamesOwnDescriptor(const fs::path& path) {
  fs::path at = path;
  for (int link = 0; link < 40; ++link) {
    const std::string text = at.lexically_normal().string();
    for (const char* prefix : {"/dev/fd/", "/proc/self/fd/", "/proc/thread-self/fd/"}) {
      if (text.rfind(prefix, 0) == 0) return true;
    }
    std::error_code error;
    const fs::path next = fs::read_symlink(at, error);
    if (error) return false;
    at = next.is_absolute() ? next : at.parent_path() / next;
  }
  return false;
}

// A device or a FIFO is written into as it is: replacing it with a file would lose what
// it stands for (and, run as root, destroy a device node). A FIFO without a reader blocks
// the open until one comes or a signal stops the command.
void WriteInto(const std::string& path, std::string_view bytes, bool regular) {
  // A regular file behind a descriptor's name is appended to, as the shell's >> or a
  // just-truncated > left it; nothing in it is overwritten.
  const int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC | (regular ? O_APPEND : 0);
  int fd = -1;
  while ((fd = ::open(path.c_str(), flags)) < 0 && errno == EINTR) StopIfNoted(path);
  if (fd < 0) Fail(path, errno);
  int error = WriteAll(fd, bytes, &path);
  // Devices and FIFOs have nothing to flush to a disk and answer fsync with EINVAL.
  if (error == 0 && regular && ::fsync(fd) != 0 && errno != EINVAL) error = errno;
  if (::close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
  if (error != 0) Fail(path, error);
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  const fs::path target(path);
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) {
    if (S_ISDIR(existing.st_mode)) Fail(path, EISDIR);
    if (S_ISSOCK(existing.st_mode)) {
      throw FileError("cannot write \"" + path +
                      "\": it is a socket (the tool writes files, devices and FIFOs)");
    }
    const bool regular = S_ISREG(existing.st_mode);
    if (!regular || NamesOwnDescriptor(target)) return WriteInto(path, bytes, regular);
  }
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
