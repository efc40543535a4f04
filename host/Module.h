// A loaded effect module: its registration resource, read from the file first, and the
// entry point the resource names.
#pragma once

#include <string>

#include "AE_Effect.h"
#include "host/Registration.h"

namespace solvane::host {

class Module {
 public:
  // Reads and checks the registration resource, then loads the module and resolves the
  // entry point it names. Throws HostError with a message for the user on any failure.
  explicit Module(const std::string& path);
  // Reads the registration resource of `path` but calls `entry` instead of loading the
  // file: tests use it to drive the effect's own statically linked code through the host.
  Module(const std::string& path, PF_FilterProc entry);
  ~Module();
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  const RegistrationInfo& Registration() const { return registration_; }
  PF_FilterProc EntryPoint() const { return entry_; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  RegistrationInfo registration_;
  void* library_ = nullptr;
  PF_FilterProc entry_ = nullptr;
};

}  // namespace solvane::host
