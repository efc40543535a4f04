#include <dlfcn.h>

#include "HostError.h"
#include "PluginBinary.h"

namespace solvane::ofx_host {

PluginBinary::PluginBinary(const std::string& path) : path_(path) {
  // A name without a slash would be searched on the library path instead of opened.
  const std::string loadable = path.find('/') == std::string::npos ? "./" + path : path;
  library_ = dlopen(loadable.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library_ == nullptr) {
    const char* reason = dlerror();
    throw HostError("cannot load " + path + ": " + (reason ? reason : "unknown error"));
  }
  numberOfPlugins_ = reinterpret_cast<int (*)()>(Symbol("OfxGetNumberOfPlugins"));
  plugin_ = reinterpret_cast<OfxPlugin* (*)(int)>(Symbol("OfxGetPlugin"));
}

void* PluginBinary::Symbol(const char* name) {
  void* symbol = dlsym(library_, name);
  if (symbol == nullptr) {
    dlclose(library_);
    library_ = nullptr;
    throw HostError(path_ + " does not export " + name);
  }
  return symbol;
}

PluginBinary::~PluginBinary() {
  if (library_ != nullptr) dlclose(library_);
}

}  // namespace solvane::ofx_host
