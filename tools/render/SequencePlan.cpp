#include "tools/render/SequencePlan.h"

#include <filesystem>
#include <initializer_list>

#include "tools/render/FrameChunk.h"
#include "tools/render/ImageIO.h"
#include "tools/render/Quoted.h"
#include "tools/render/RenderCommand.h"

namespace solvane::cli {
namespace {

namespace fs = std::filesystem;

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

FrameRange Share(const RenderOptions& options, const FrameRange& range) {
  if (options.chunk.empty()) return range;
  if (options.frames.empty()) {
    throw OptionError("--chunk " + Quoted(options.chunk) +
                      " shares out a range of frames: give it with --frames A-B");
  }
  return ChunkOf(range, ParseFrameChunk(options.chunk));
}

std::string RangeText(const FrameRange& range) {
  return range.Count() == 1
             ? "frame " + std::to_string(range.first)
             : "frames " + std::to_string(range.first) + "-" + std::to_string(range.last);
}

std::string ShareText(const RenderOptions& options, const FrameRange& whole,
                      const FrameRange& share) {
  if (options.frames.empty()) return Quoted(options.output);
  if (options.chunk.empty()) return RangeText(whole);
  const std::string chunk = "chunk " + options.chunk + " of " + RangeText(whole);
  return share.Count() == 0 ? chunk : RangeText(share) + " (" + chunk + ")";
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

// The command's inputs, made absolute and normal once, so that each output of a long range
// costs a comparison of names and one look at the disk.
class InputFiles {
 public:
  InputFiles() {
    std::error_code ignored;
    cwd_ = fs::current_path(ignored);
  }
  struct Input {
    std::string name;
    fs::path normal;
  };
  Input Of(const std::string& name) const { return {name, Normal(name)}; }

  // Throws OptionError when `output` is one of `inputs` (empty names are skipped).
  void Check(const std::string& output, const std::string& option,
             std::initializer_list<const Input*> inputs) const {
    const fs::path normal = Normal(output);
    std::error_code error;
    const bool exists = fs::exists(output, error);
    for (const Input* input : inputs) {
      if (input->name.empty()) continue;
      if (normal == input->normal || (exists && fs::equivalent(output, input->name, error))) {
        throw OptionError(option + " " + Quoted(output) + " is the input " + Quoted(input->name) +
                          ": an input is never overwritten");
      }
    }
  }

 private:
  fs::path Normal(const std::string& name) const {
    const fs::path path(name);
    return (path.is_absolute() ? path : cwd_ / path).lexically_normal();
  }
  fs::path cwd_;
};

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
  SequencePlan plan{Share(options, range), options.input, options.output, options.input.empty()};
  plan.share = ShareText(options, range, plan.range);
  const InputFiles inputs;
  const InputFiles::Input module = inputs.Of(options.module);
  const InputFiles::Input preset = inputs.Of(options.preset);
  // Saving over the preset that was read updates it: it is written whole before the old
  // one goes, so nothing is lost.
  const bool savesPreset = !options.savePreset.empty();
  if (savesPreset) {
    inputs.Check(options.savePreset, "--save-preset", {&module});
    if (!plan.empty && !HasFramePattern(options.output) &&
        SameFile(options.savePreset, options.output)) {
      throw OptionError("--save-preset " + Quoted(options.savePreset) + " is also OUTPUT");
    }
  }
  if (plan.empty) return plan;
  // The whole range: one chunk of one frame still shares OUTPUT with the other chunks.
  CheckNames(options, range);
  if (plan.Count() == 0) return plan;
  const bool perFrameInput = HasFramePattern(options.input);
  ImageHeader& first = plan.first;
  InputFiles::Input input;
  const auto checkFrame = [&](int i) {
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
      input = inputs.Of(frame.input);
      if (savesPreset) inputs.Check(options.savePreset, "--save-preset", {&input});
    }
    inputs.Check(frame.output, "OUTPUT", {&input, &preset, &module});
  };
  // The first frame and the output folder before the rest of a long range.
  checkFrame(0);
  CheckOutputPath(plan.Frame(0).output);
  for (int i = 1; i < plan.Count(); ++i) checkFrame(i);
  return plan;
}

}  // namespace solvane::cli
