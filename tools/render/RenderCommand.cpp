#include "tools/render/RenderCommand.h"

#include <algorithm>
#include <iterator>

#include "host/RenderStill.h"
#include "tools/render/ErrorNames.h"
#include "tools/render/ImageIO.h"

namespace solvane::cli {
namespace {

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
}

// A command error, with the message the module put in out_data when it asked for one.
[[noreturn]] void Fail(const std::string& what, PF_Err err, const PF_OutData* out = nullptr) {
  std::string message = "the module answered " + what + " with " + DescribeError(err);
  if (out != nullptr && (out->out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE) != 0 &&
      out->return_msg[0] != '\0') {
    const char* end = std::find(out->return_msg, std::end(out->return_msg), '\0');
    message += ": " + std::string(out->return_msg, end);
  }
  throw RenderError(message);
}

}  // namespace

void AddRenderOptions(CLI::App& app, RenderOptions& options) {
  CLI::Option* input = app.add_option("INPUT", options.input, "image to render");
  CLI::Option* output = app.add_option("OUTPUT", options.output, "image file to write");
  input->needs(output);
  app.add_option("--depth", options.depth,
                 "bits per channel of the worlds: 8 or 32 (default "
                 "32 for float inputs, else 8)")
      ->check(CLI::IsMember({8, 32}));
  app.add_option("--downsample", options.downsample, "render at 1/N resolution")
      ->check(CLI::PositiveNumber);
  app.add_flag("--adjustment-layer", options.adjustmentLayer,
               "treat the layer as an adjustment layer");
  app.add_option("--threads", options.threads, "host render threads")->check(CLI::Range(1, 256));
}

void RenderStillCommand(host::Host& host, const RenderOptions& options) {
  CheckOptions(options);
  CheckOutputPath(options.output);
  const host::World image = ReadImage(options.input, options.depth);
  PF_OutData setup{};
  if (PF_Err err = host.GlobalSetup(&setup)) Fail("global set-up", err, &setup);
  if (PF_Err err = host.ParamsSetup()) Fail("parameter set-up", err);
  host::StillSettings settings;
  settings.depth = image.Depth();
  settings.downsample = options.downsample;
  settings.kind =
      options.adjustmentLayer ? host::LayerKind::kAdjustment : host::LayerKind::kOrdinary;
  settings.threads = options.threads;
  settings.params = [&options](host::Host& h) {
    for (const ParamAssignment& assignment : options.params) {
      ApplyParamAssignment(h.Params(), assignment);
    }
  };
  const host::FrameResult frame = host::RenderStill(host, image, settings);
  if (frame.err != PF_Err_NONE) {
    Fail(frame.rendered ? "the smart render" : "the pre-render", frame.err, &frame.renderOutData);
  }
  if (frame.output.Empty()) {
    throw RenderError("the effect returned an empty image (the layer has no visible pixels)");
  }
  WriteImage(options.output, frame.output);
}

}  // namespace solvane::cli
