#include <windows.h>

#include "HostError.h"
#include "PluginBinary.h"

namespace solvane::ofx_host {

PluginBinary::PluginBinary(const std::string& path) : path_(path) {
  library_ = LoadLibraryA(path.c_str());
  if (library_ == nullptr) {
    throw HostError("cannot load " + path + ": Windows error " + std::to_string(GetLastError()));
  }
  numberOfPlugins_ = reinterpret_cast<int (*)()>(Symbol("OfxGetNumberOfPlugins"));
  plugin_ = reinterpret_cast<OfxPlugin* (*)(int)>(Symbol("OfxGetPlugin"));
}

void* PluginBinary::Symbol(const char* name) {
  void* symbol = reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library_), name));
  if (symbol == nullptr) {
    FreeLibrary(static_cast<HMODULE>(library_));
    library_ = nullptr;
    throw HostError(path_ + " does not export " + name);
  }
  return symbol;
}

PluginBinary::~PluginBinary() {
  if (library_ != nullptr) FreeLibrary(static_cast<HMODULE>(library_));
}

}  // namespace solvane::ofx_host
