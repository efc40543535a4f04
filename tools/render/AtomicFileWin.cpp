#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>

#include "host/WindowsErrorText.h"
#include "tools/render/AtomicFile.h"

namespace solvane::cli {
namespace {

std::atomic<uint64_t> temporaryCount{0};

std::wstring Wide(const std::string& text) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(size_t(length > 0 ? length : 0), L'\0');
  if (length > 0)
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), length);
  return wide;
}

[[noreturn]] void Fail(const std::string& path, DWORD error) {
  throw FileError("cannot write \"" + path + "\": " + host::WindowsErrorText(error));
}

// Writes and flushes the temporary file; 0 or the first error code.
DWORD WriteTemporaryWin(const std::wstring& temporary, std::string_view bytes) {
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  DWORD error = 0;
  while (error == 0 && !bytes.empty()) {
    const DWORD chunk = DWORD(std::min<size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
      error = written == 0 && GetLastError() == 0 ? ERROR_WRITE_FAULT : GetLastError();
    }
    bytes.remove_prefix(written);
  }
  if (error == 0 && !FlushFileBuffers(file)) error = GetLastError();
  if (!CloseHandle(file) && error == 0) error = GetLastError();
  return error;
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  const std::wstring target = Wide(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    throw FileError("cannot write \"" + path + "\": Is a directory");
  }
  const size_t slash = path.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::wstring temporary;
  DWORD error = ERROR_FILE_EXISTS;
  // A name left behind by a killed process that had this process's id is skipped.
  for (int attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
    temporary = Wide(folder + TemporaryName(name, GetCurrentProcessId(), ++temporaryCount));
    error = WriteTemporaryWin(temporary, bytes);
  }
  if (error == 0 && !MoveFileExW(temporary.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != 0) {
    if (error != ERROR_FILE_EXISTS) DeleteFileW(temporary.c_str());
    Fail(path, error);
  }
}

}  // namespace solvane::cli
