#include "tools/render/ModuleLocation.h"

#include <filesystem>

namespace solvane::cli {

std::string DefaultModulePath(const char* argv0) {
#if defined(_WIN32)
  constexpr const char* kModuleName = "Brindel's_Solvane.aex";
#else
  constexpr const char* kModuleName = "Brindel's_Solvane.so";
#endif
  std::error_code ignored;
  std::filesystem::path exe = std::filesystem::canonical(argv0, ignored);
  if (exe.empty()) exe = std::filesystem::absolute(argv0, ignored);
  return (exe.parent_path() / kModuleName).string();
}

}  // namespace solvane::cli
