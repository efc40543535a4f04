// solvane-render: renders stills and image sequences through the effect module, driven by
// the stand-in host, and reports what the module registers.
#include <CLI/CLI.hpp>
#include <iostream>

#include "host/HostError.h"
#include "tools/render/InfoCommand.h"
#include "tools/render/ModuleLocation.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFailure = 1;

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Renders images through the Brindel's Solvane effect.", "solvane-render"};
  std::string modulePath = solvane::cli::DefaultModulePath(argv[0]);
  bool info = false;
  app.add_option("--module", modulePath, "effect module to load")->capture_default_str();
  app.add_flag("--info", info, "print the module's registration resource and About text");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : kExitUsage;
  }
  try {
    solvane::host::Host host(modulePath);
    if (info) {
      const PF_Err err = solvane::cli::PrintModuleInfo(host, std::cout);
      if (err != PF_Err_NONE) {
        std::cerr << "solvane-render: the module answered About with error " << err << "\n";
        return kExitFailure;
      }
      return 0;
    }
    std::cerr << "solvane-render: nothing to do (try --help)\n";
    return kExitUsage;
  } catch (const solvane::host::HostError& e) {
    std::cerr << "solvane-render: " << e.what() << "\n";
    return kExitFailure;
  }
}
