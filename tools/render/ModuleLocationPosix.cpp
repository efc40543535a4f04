#include <filesystem>

#include "tools/render/ModuleLocation.h"

namespace solvane::cli {

std::string DefaultModulePath() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  // Without /proc the module name alone fails to load with a message naming it; it is
  // never looked for in the working directory.
  if (error) return "Brindel's_Solvane.so";
  return (exe.parent_path() / "Brindel's_Solvane.so").string();
}

}  // namespace solvane::cli
