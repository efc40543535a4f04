// solvane-render INPUT OUTPUT: one still through the module. Reads the input, sets the
// controls, renders the frame on host render threads and writes the output world whole
// (its size is what pre-render returned, so buffer expansion grows the picture).
#pragma once

#include <CLI/CLI.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/Host.h"
#include "tools/render/ParamAssignment.h"

namespace solvane::cli {

struct RenderOptions {
  std::string input;
  std::string output;
  std::vector<ParamAssignment> params;
  int depth = 0;  // 8 or 32; 0: 32 for float inputs, else 8
  int downsample = 1;
  bool adjustmentLayer = false;
  int threads = 1;
};

// INPUT, OUTPUT, --depth, --downsample, --adjustment-layer and --threads.
void AddRenderOptions(CLI::App& app, RenderOptions& options);

// Runs global set-up, parameter set-up and the frame. Throws OptionError for an option
// value out of range or a bad assignment, ImageError for a file, HostError for what the
// host refuses, and RenderError when the module answers a command with an error.
void RenderStillCommand(host::Host& host, const RenderOptions& options);

class RenderError : public std::runtime_error {
 public:
  explicit RenderError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace solvane::cli
