#include "tools/render/SequencePlan.h"

#include <filesystem>

#include "tools/render/ImageIO.h"
#include "tools/render/RenderCommand.h"

namespace solvane::cli {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& path) {
  return "\"" + path + "\"";
}

void CheckNames(const RenderOptions& options, const FrameRange& range) {
  // Without --frames a pattern would quietly render frame 0 alone.
  for (const std::string* name : {&options.input, &options.output}) {
    if (options.frames.empty() && HasFramePattern(*name)) {
      throw OptionError(Quoted(*name) + " names a frame number: give the frames with --frames A-B");
    }
  }
  if (range.Count() > 1 && !HasFramePattern(options.output)) {
    throw OptionError("--frames renders " + std::to_string(range.Count()) +
                      " frames: OUTPUT needs #### or %04d for the frame number");
  }
}

void CheckInputFrame(const RenderOptions& options, const SequenceFrame& frame) {
  std::error_code error;
  if (options.frames.empty() || fs::exists(frame.input, error)) {
    CheckInputFile(frame.input);
    return;
  }
  throw ImageError("input frame " + std::to_string(frame.number) +
                   " is missing: " + Quoted(frame.input));
}

// The frame's input and those every frame shares: the module and the preset read. Saving
// the preset that was read is an update of it, written whole before the old one goes.
void CheckNotAnInput(const std::string& output, const std::string& option,
                     const RenderOptions& options, const std::string& frameInput) {
  const std::string noPreset;
  const std::string& preset = option == "--save-preset" ? noPreset : options.preset;
  for (const std::string* input : {&frameInput, &preset, &options.module}) {
    if (!input->empty() && SameFile(output, *input)) {
      throw OptionError(option + " " + Quoted(output) + " is the input " + Quoted(*input) +
                        ": an input is never overwritten");
    }
  }
}

}  // namespace

SequenceFrame SequencePlan::Frame(int i) const {
  const int number = range.first + i;
  return {number, ExpandFramePattern(input, number), ExpandFramePattern(output, number)};
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  const fs::path left = fs::absolute(a, error).lexically_normal();
  const fs::path right = fs::absolute(b, error).lexically_normal();
  if (left == right) return true;
  return fs::exists(a, error) && fs::exists(b, error) && fs::equivalent(a, b, error);
}

SequencePlan PlanSequence(const RenderOptions& options, const FrameRange& range) {
  SequencePlan plan{range, options.input, options.output, options.input.empty()};
  if (!options.savePreset.empty()) {
    CheckNotAnInput(options.savePreset, "--save-preset", options, "");
    if (!plan.empty && !HasFramePattern(options.output) &&
        SameFile(options.savePreset, options.output)) {
      throw OptionError("--save-preset " + Quoted(options.savePreset) + " is also OUTPUT");
    }
  }
  if (plan.empty) return plan;
  CheckNames(options, range);
  const bool perFrameInput = HasFramePattern(options.input);
  ImageHeader first;
  for (int i = 0; i < plan.Count(); ++i) {
    const SequenceFrame frame = plan.Frame(i);
    if (i == 0 || perFrameInput) {
      CheckInputFrame(options, frame);
      const ImageHeader header = ReadImageHeader(frame.input);
      if (i == 0) first = header;
      if (header.width != first.width || header.height != first.height) {
        throw ImageError(Quoted(frame.input) + " is " + std::to_string(header.width) + "x" +
                         std::to_string(header.height) + ", the sequence's first frame " +
                         std::to_string(first.width) + "x" + std::to_string(first.height));
      }
      if (!options.savePreset.empty()) {
        CheckNotAnInput(options.savePreset, "--save-preset", options, frame.input);
      }
    }
    CheckNotAnInput(frame.output, "OUTPUT", options, frame.input);
  }
  CheckOutputPath(plan.Frame(0).output);
  return plan;
}

}  // namespace solvane::cli
