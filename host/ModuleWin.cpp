#include <windows.h>

#include "host/HostError.h"
#include "host/Module.h"
#include "host/WindowsErrorText.h"

namespace solvane::host {
namespace {

// Paths arrive as UTF-8; the wide API takes any file name Windows can hold.
std::wstring WidePath(const std::string& path) {
  const int length =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), int(path.size()), nullptr, 0);
  if (length <= 0 && !path.empty()) throw HostError("module path '" + path + "' is not UTF-8");
  std::wstring wide(size_t(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), wide.data(), length);
  return wide;
}

// LoadLibrary searches the DLL search path for a relative name; the registration resource
// was read from the file of that name here, so the full path is what is loaded, and the
// module's own folder is where its dependencies are looked for first.
std::wstring FullPathWin(const std::string& path) {
  const std::wstring wide = WidePath(path);
  const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (length == 0) return wide;
  std::wstring full(length, L'\0');
  const DWORD written = GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
  if (written == 0 || written >= length) return wide;
  full.resize(written);
  return full;
}

}  // namespace

Module::Module(const std::string& path) : path_(path), registration_(ReadModuleRegistration(path)) {
  const std::wstring widePath = FullPathWin(path);
  // A module with a missing dependency must fail with an error here, not wait on a
  // message box nobody sees on a render server.
  DWORD previousMode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previousMode);
  HMODULE library = LoadLibraryExW(widePath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  const DWORD loadError = GetLastError();
  SetThreadErrorMode(previousMode, nullptr);
  if (library == nullptr) {
    throw HostError("cannot load module '" + path + "': " + WindowsErrorText(loadError));
  }
  // GetProcAddress looks in this module's own export table only.
  entry_ = reinterpret_cast<PF_FilterProc>(
      reinterpret_cast<void*>(GetProcAddress(library, registration_.entryPoint.c_str())));
  if (entry_ == nullptr) {
    FreeLibrary(library);
    throw HostError("module '" + path + "' does not export " + registration_.entryPoint);
  }
  library_ = library;
}

Module::Module(const std::string& path, PF_FilterProc entry)
    : path_(path), registration_(ReadModuleRegistration(path)), entry_(entry) {}

Module::~Module() {
  if (library_ != nullptr) FreeLibrary(static_cast<HMODULE>(library_));
}

}  // namespace solvane::host
