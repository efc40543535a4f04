#include <dlfcn.h>
#include <link.h>

#include "host/HostError.h"
#include "host/Module.h"

namespace solvane::host {
namespace {

// dlopen searches the library path for a name without a slash; the registration resource
// was read from the file of that name here, so the same file is the one loaded.
std::string LoadablePath(const std::string& path) {
  return path.find('/') == std::string::npos ? "./" + path : path;
}

// dlsym on a handle also searches the module's dependencies; an entry point that one of
// them defines is not the module's.
bool DefinedByModule(void* library, void* symbol) {
  link_map* moduleMap = nullptr;
  link_map* symbolMap = nullptr;
  Dl_info info{};
  return dlinfo(library, RTLD_DI_LINKMAP, &moduleMap) == 0 &&
         dladdr1(symbol, &info, reinterpret_cast<void**>(&symbolMap), RTLD_DL_LINKMAP) != 0 &&
         symbolMap == moduleMap;
}

}  // namespace

Module::Module(const std::string& path) : path_(path), registration_(ReadModuleRegistration(path)) {
  library_ = dlopen(LoadablePath(path).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library_ == nullptr) {
    const char* reason = dlerror();
    throw HostError("cannot load module '" + path + "': " + (reason ? reason : "unknown error"));
  }
  void* symbol = dlsym(library_, registration_.entryPoint.c_str());
  if (symbol == nullptr || !DefinedByModule(library_, symbol)) {
    dlclose(library_);
    library_ = nullptr;
    throw HostError("module '" + path + "' does not export " + registration_.entryPoint);
  }
  entry_ = reinterpret_cast<PF_FilterProc>(symbol);
}

Module::Module(const std::string& path, PF_FilterProc entry)
    : path_(path), registration_(ReadModuleRegistration(path)), entry_(entry) {}

Module::~Module() {
  if (library_ != nullptr) dlclose(library_);
}

}  // namespace solvane::host
