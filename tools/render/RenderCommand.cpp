#include "tools/render/RenderCommand.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <iterator>

#include "tools/render/ErrorNames.h"
#include "tools/render/FramePattern.h"
#include "tools/render/GpuTextureLimit.h"
#include "tools/render/Interrupt.h"
#include "tools/render/Preset.h"
#include "tools/render/Quoted.h"
#include "tools/render/SequenceRender.h"

namespace solvane::cli {
namespace {

// Many GPUs (and Mesa's llvmpipe) make textures up to 16384 pixels a side, some only 8192.
constexpr int kLargeTextureSide = 8192;

void CheckOptions(const RenderOptions& options) {
  if (options.depth != 0 && options.depth != 8 && options.depth != 32) {
    throw OptionError("--depth must be 8 or 32, not " + std::to_string(options.depth));
  }
  if (options.downsample < 1) {
    throw OptionError("--downsample must be 1 or more, not " + std::to_string(options.downsample));
  }
  if (options.threads < 1 || options.threads > 256) {
    throw OptionError("--threads must be between 1 and 256, not " +
                      std::to_string(options.threads));
  }
  // An empty value would otherwise read as no --background at all.
  if (options.backgroundGiven && options.background.empty()) {
    throw OptionError("--background wants black, white, grey or R,G,B, not \"\"");
  }
  // The host's clock ticks in thousandths of a frame a second, so 0.001 is the slowest.
  if (!(options.fps >= 0.001 && options.fps <= 1000)) {
    throw OptionError("--fps must be from 0.001 to 1000");
  }
}

// A command error, with the message the module put in out_data when it asked for one.
[[noreturn]] void Fail(const std::string& what, PF_Err err, const PF_OutData* out = nullptr,
                       const std::string& note = "") {
  std::string message = "the module answered " + what + " with " + DescribeError(err);
  if (out != nullptr && (out->out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE) != 0 &&
      out->return_msg[0] != '\0') {
    const char* end = std::find(out->return_msg, std::end(out->return_msg), '\0');
    message += ": " + std::string(out->return_msg, end);
  }
  throw RenderError(message + note);
}

// The whole preset first, then the command line, so --param and --key override it: a
// --param value replaces the preset's keyframes on that control, as setting a value does.
void ApplyControls(host::Host& host, const RenderOptions& options) {
  Preset preset;
  if (!options.preset.empty()) preset = ReadPreset(options.preset);
  host::ParamStore& store = host.Params();
  for (const ParamAssignment& a : preset.controls) ApplyParamAssignment(store, a);
  for (const KeyAssignment& key : preset.keys) ApplyKeyAssignment(store, key, host.Layer());
  for (const ParamAssignment& a : options.params) ApplyParamAssignment(store, a);
  for (const KeyAssignment& key : options.keys) ApplyKeyAssignment(store, key, host.Layer());
}

// Host time runs in thousandths of a frame so fractional rates such as 29.97 stay exact.
void SetFrameRate(host::Host& host, double fps) {
  host.Layer().timeScale = A_u_long(std::lround(fps * 1000));
  host.Layer().timeStep = 1000;
}

}  // namespace

void AddRenderOptions(CLI::App& app, RenderOptions& options, std::vector<std::string>& keyTexts) {
  CLI::Option* input = app.add_option("INPUT", options.input,
                                      "image to render (#### or %04d "
                                      "for the frame number)");
  app.add_option("OUTPUT", options.output, "image file to write (#### or %04d)");
  input->needs(app.get_option("OUTPUT"));
  app.add_option("--depth", options.depth,
                 "bits per channel of the worlds: 8 or 32 (default 32 for float inputs, else 8)")
      ->check(CLI::IsMember({8, 32}));
  // Checked with the other values, so that the message gives the range in words.
  app.add_option("--downsample", options.downsample, "render at 1/N resolution");
  app.add_flag("--adjustment-layer", options.adjustmentLayer,
               "treat the layer as an adjustment layer");
  app.add_option("--threads", options.threads, "host render threads")->check(CLI::Range(1, 256));
  app.add_option("--frames", options.frames, "render the numbered frames A-B");
  app.add_option("--chunk", options.chunk,
                 "render the K-th of N near-equal shares of --frames, K from 0")
      ->type_name("K/N");
  app.add_flag("--skip-existing", options.skipExisting,
               "keep each output that reads back whole; render the missing or damaged ones");
  app.add_option("--fps", options.fps, "frames per second of the sequence's time (default 25)");
  app.add_option("--key", keyTexts, "NAME@FRAME=VALUE keyframe, repeatable")
      ->allow_extra_args(false);
  app.add_option("--preset", options.preset, "control values and keys from a JSON preset");
  app.add_option("--save-preset", options.savePreset, "write the control values to a preset");
  app.add_option("--background", options.background,
                 "flatten over black, white, grey or R,G,B before writing")
      ->each([&options](const std::string&) { options.backgroundGiven = true; });
  app.add_flag("--quiet", options.quiet, "no progress line");
}

void RenderCommand(host::Host& host, const RenderOptions& options) {
  CheckOptions(options);
  const FrameRange range =
      options.frames.empty() ? FrameRange{0, 0} : ParseFrameRange(options.frames);
  // A range past the host's clock is refused before a single name is made for it.
  SetFrameRate(host, options.fps);
  FrameTime(range.last, host.Layer());
  const SequencePlan plan = PlanSequence(options, range);
  if (plan.Count() > 0) {
    const int n = options.downsample;
    CheckTextureFit(plan.Frame(0).input, (plan.first.width + n - 1) / n,
                    (plan.first.height + n - 1) / n);
  }
  PF_OutData setup{};
  if (PF_Err err = host.GlobalSetup(&setup)) Fail("global set-up", err, &setup);
  if (PF_Err err = host.ParamsSetup()) Fail("parameter set-up", err);
  host::World first;
  if (plan.Count() > 0) first = ReadFirstFrame(host, options, plan);
  ApplyControls(host, options);
  // Until here a signal ended the process at once; from the first write on it stops the
  // command at the next point where every file on disk is whole.
  WatchInterrupts();
  if (!options.savePreset.empty()) WritePreset(options.savePreset, host.Params(), host.Layer());
  if (options.input.empty()) {
    if (const int signal = InterruptSignal(); signal != 0) {
      throw Interrupted(signal, "stopped by " + SignalName(signal) + " after saving " +
                                    Quoted(options.savePreset));
    }
    return;
  }
  // More chunks than frames leave some empty: such a task has nothing to do, not failed.
  if (plan.Count() == 0) {
    std::cerr << "solvane-render: " << plan.share << " holds no frame: nothing to render\n";
    return;
  }
  const SequenceFailure failure = RenderSequence(host, options, plan, std::move(first));
  if (failure.err != PF_Err_NONE) {
    const std::string frame =
        options.frames.empty() ? "" : " of frame " + std::to_string(failure.frame);
    std::string note;
    // The GL layer cannot make a texture past its size limit and says so only in its
    // own diagnostics on stdout; the module reports it as out of memory.
    if (failure.err == PF_Err_OUT_OF_MEMORY &&
        std::max(failure.outputWidth, failure.outputHeight) > kLargeTextureSide) {
      note = " (the frame is " + std::to_string(failure.outputWidth) + "x" +
             std::to_string(failure.outputHeight) +
             " pixels, likely beyond the GPU's GL texture size limit)";
    }
    if (plan.Count() > 1) {
      note += "; " + std::to_string(failure.written) + " of " + std::to_string(plan.Count()) +
              " frames written";
      if (failure.skipped > 0) {
        note += ", " + std::to_string(failure.skipped) + " skipped (already whole)";
      }
    }
    Fail(failure.what + frame, failure.err, &failure.out, note);
  }
}

}  // namespace solvane::cli
