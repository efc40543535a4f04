// solvane-render: renders stills and image sequences through the effect module, driven by
// the stand-in host, and reports what the module registers.
#include <CLI/CLI.hpp>
#include <iostream>

#include "host/HostError.h"
#include "tools/render/InfoCommand.h"
#include "tools/render/Interrupt.h"
#include "tools/render/ListParamsCommand.h"
#include "tools/render/ModuleLocation.h"
#include "tools/render/ParamAssignment.h"
#include "tools/render/RenderCommand.h"
#include "tools/render/UiStateCommand.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFailure = 1;

constexpr const char* kHelpFooter = R"(Examples:
  solvane-render --param Threshold=40 --param Position=240,60 in.png out.png
  solvane-render --param Mode=Spin --param Style/Amount=45 --depth 32 in.exr out.exr
  solvane-render --frames 1-48 --threads 2 --key Position@1=40,60 --key Position@48=440,60 \
      plate.####.exr rays.####.exr
  solvane-render --frames 1-14400 --chunk "$SLURM_ARRAY_TASK_ID/100" --skip-existing \
      plate.#####.exr rays.#####.exr            (one task of a farm; K counts from 0)
  solvane-render --preset look.json --background black in.png preview.png
  solvane-render --param Exposure=3 --save-preset look.json

Exit codes:
  0  done
  1  the module, the host or a file failed (unknown control, value out of range,
     unreadable input, unwritable output, an error code from the module)
  2  the command line could not be read (unknown option, malformed value, an output
     that is an input)
  130, 143  stopped by SIGINT or SIGTERM (the frames written are whole))";

int CommandFailed(const char* command, PF_Err err) {
  std::cerr << "solvane-render: the module answered " << command << " with error " << err << "\n";
  return kExitFailure;
}

std::vector<solvane::cli::ParamAssignment> ParseAssignments(const std::vector<std::string>& texts) {
  std::vector<solvane::cli::ParamAssignment> out;
  for (const std::string& text : texts) out.push_back(solvane::cli::ParseParamAssignment(text));
  return out;
}

// The option of a command that only prints, or null.
const char* PrintingCommand(bool info, bool listParams, bool uiState) {
  if (info) return "--info";
  if (listParams) return "--list-params";
  return uiState ? "--ui-state" : nullptr;
}

// Files that only a render or a preset save uses; given to a printing command, they would
// be ignored without a word.
bool GivesFiles(const solvane::cli::RenderOptions& render) {
  return !render.input.empty() || !render.savePreset.empty() || !render.preset.empty();
}

}  // namespace

int main(int argc, char** argv) {
  // Before anything is written a signal ends the process at once, whatever it is doing.
  solvane::cli::EndOnInterrupt();
  CLI::App app{"Renders images through the Brindel's Solvane effect.", "solvane-render"};
  std::string modulePath = solvane::cli::DefaultModulePath();
  bool info = false;
  app.add_option("--module", modulePath, "effect module to load")->capture_default_str();
  app.add_flag("--info", info, "print the module's registration resource and About text");
  bool listParams = false;
  bool uiState = false;
  std::vector<std::string> paramTexts;
  app.add_flag("--list-params", listParams, "print the controls as the module registers them");
  app.add_flag("--ui-state", uiState,
               "print which controls are hidden or greyed out for the --param values");
  app.add_option("--param", paramTexts,
                 "NAME=VALUE, repeatable; NAME a display name, Group/Name or index; VALUE a "
                 "number, popup item, x,y or on/off")
      ->allow_extra_args(false);
  solvane::cli::RenderOptions render;
  std::vector<std::string> keyTexts;
  solvane::cli::AddRenderOptions(app, render, keyTexts);
  app.footer(kHelpFooter);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : kExitUsage;
  }
  if (const char* printing = PrintingCommand(info, listParams, uiState);
      printing != nullptr && GivesFiles(render)) {
    std::cerr << "solvane-render: " << printing
              << " prints and renders nothing: it takes no INPUT, OUTPUT, --preset or "
                 "--save-preset\n";
    return kExitUsage;
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
    if (listParams) {
      const PF_Err err = solvane::cli::ListParams(host, std::cout);
      return err == PF_Err_NONE ? 0 : CommandFailed("PARAMS_SETUP", err);
    }
    if (uiState) {
      const PF_Err err = solvane::cli::PrintUiState(host, ParseAssignments(paramTexts), std::cout);
      return err == PF_Err_NONE ? 0 : CommandFailed("a parameter command", err);
    }
    if (!render.input.empty() || !render.savePreset.empty()) {
      render.params = ParseAssignments(paramTexts);
      for (const std::string& text : keyTexts) {
        render.keys.push_back(solvane::cli::ParseKeyAssignment(text));
      }
      render.module = modulePath;
      solvane::cli::RenderCommand(host, render);
      return 0;
    }
    std::cerr << "solvane-render: nothing to do (try --help)\n";
    return kExitUsage;
  } catch (const solvane::cli::Interrupted& e) {
    std::cerr << "solvane-render: " << e.what() << "\n";
    return 128 + e.Signal();
  } catch (const solvane::host::HostError& e) {
    std::cerr << "solvane-render: " << e.what() << "\n";
    return kExitFailure;
  } catch (const solvane::cli::OptionError& e) {
    std::cerr << "solvane-render: " << e.what() << "\n";
    return kExitUsage;
  } catch (const std::exception& e) {  // unreadable or unwritable images, render errors
    std::cerr << "solvane-render: " << e.what() << "\n";
    return kExitFailure;
  }
}
