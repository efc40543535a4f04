// An OpenFX binary loaded from a path (dlopen or LoadLibrary) and its two entry points.
#pragma once

#include <string>

#include "ofxCore.h"

namespace solvane::ofx_host {

class PluginBinary {
 public:
  // Throws HostError naming the file when it cannot be loaded or lacks an entry point.
  explicit PluginBinary(const std::string& path);
  ~PluginBinary();
  PluginBinary(const PluginBinary&) = delete;
  PluginBinary& operator=(const PluginBinary&) = delete;

  int NumberOfPlugins() const { return numberOfPlugins_(); }
  OfxPlugin* Plugin(int index) const { return plugin_(index); }
  const std::string& Path() const { return path_; }

 private:
  void* Symbol(const char* name);

  std::string path_;
  void* library_ = nullptr;
  int (*numberOfPlugins_)() = nullptr;
  OfxPlugin* (*plugin_)(int) = nullptr;
};

}  // namespace solvane::ofx_host
