#include <dlfcn.h>

#include "host/HostError.h"
#include "host/Module.h"

namespace solvane::host {

Module::Module(const std::string& path)
    : path_(path), registration_(ReadModuleRegistration(path)) {
  library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library_ == nullptr) {
    const char* reason = dlerror();
    throw HostError("cannot load module '" + path + "': " + (reason ? reason : "unknown error"));
  }
  entry_ = reinterpret_cast<PF_FilterProc>(dlsym(library_, registration_.entryPoint.c_str()));
  if (entry_ == nullptr) {
    dlclose(library_);
    throw HostError("module '" + path + "' does not export " + registration_.entryPoint);
  }
}

Module::Module(const std::string& path, PF_FilterProc entry)
    : path_(path), registration_(ReadModuleRegistration(path)), entry_(entry) {}

Module::~Module() {
  if (library_ != nullptr) dlclose(library_);
}

}  // namespace solvane::host
