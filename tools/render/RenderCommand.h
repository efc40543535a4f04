// solvane-render INPUT OUTPUT: stills and numbered sequences through the module. Reads
// each input frame, sets the controls and keyframes, renders the frames on host render
// threads and writes each output world whole (its size is what pre-render returned, so
// buffer expansion grows the picture), through a temporary file renamed into place.
#pragma once

#include <CLI/CLI.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/Host.h"
#include "tools/render/Keyframes.h"
#include "tools/render/ParamAssignment.h"

namespace solvane::cli {

struct RenderOptions {
  std::string input;
  std::string output;
  std::vector<ParamAssignment> params;
  std::vector<KeyAssignment> keys;
  int depth = 0;  // 8 or 32; 0: 32 for float inputs, else 8
  int downsample = 1;
  bool adjustmentLayer = false;
  int threads = 1;
  std::string frames;  // "A-B"; empty renders frame 0 once
  std::string chunk;   // "K/N": this run renders the K-th of N shares of the frames
  bool skipExisting = false;  // an output that reads back whole is kept, not rendered
  double fps = 25;
  std::string preset;            // read before --param and --key, which override it
  std::string savePreset;        // written after every value is set
  std::string background;        // empty: keep the alpha
  bool backgroundGiven = false;  // --background was given, even as an empty text
  bool quiet = false;
  std::string module;  // the module's file: an input, so never an output
};

// INPUT, OUTPUT and every render option.
void AddRenderOptions(CLI::App& app, RenderOptions& options, std::vector<std::string>& keyTexts);

// Runs global set-up, parameter set-up and the frames (none when there is no INPUT, which
// only saves a preset). Throws OptionError for an option value out of range or a bad
// assignment or an output that is an input, ImageError or FileError for a file, HostError
// for what the host refuses, RenderError when the module answers a command with an error,
// and Interrupted when SIGINT or SIGTERM stopped the frames.
void RenderCommand(host::Host& host, const RenderOptions& options);

class RenderError : public std::runtime_error {
 public:
  explicit RenderError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace solvane::cli
