#include <windows.h>

#include <string>

#include "tools/render/ModuleLocation.h"

namespace solvane::cli {

std::string DefaultModulePath() {
  std::wstring exe(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, exe.data(), DWORD(exe.size()));
    if (length == 0) return "Brindel's_Solvane.aex";
    if (length < exe.size()) {
      exe.resize(length);
      break;
    }
    exe.resize(exe.size() * 2);
  }
  const size_t slash = exe.find_last_of(L"\\/");
  const std::wstring module =
      (slash == std::wstring::npos ? std::wstring() : exe.substr(0, slash + 1)) +
      L"Brindel's_Solvane.aex";
  const int length = WideCharToMultiByte(CP_UTF8, 0, module.data(), int(module.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string utf8(size_t(length > 0 ? length : 0), '\0');
  if (length > 0) {
    WideCharToMultiByte(CP_UTF8, 0, module.data(), int(module.size()), utf8.data(), length, nullptr,
                        nullptr);
  }
  return utf8;
}

}  // namespace solvane::cli
