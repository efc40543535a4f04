// solvane-ofx-render: an image file through an OpenFX plug-in in our test host.
//   solvane-ofx-render BUNDLE_BINARY INPUT OUTPUT [--param NAME=VALUE]... [--depth 8|32]
//     [--scale S] [--window x1,y1,x2,y2] [--premultiplied] [--context filter|general]
//     [--threads N]
// NAME is the OpenFX parameter's name. --scale renders at render scale S = 1/N from the
// input box-downsampled by N. --window is in pixels at the render scale, y up from the
// bottom; the rest of the output keeps transparent black. --premultiplied hands the
// plug-in premultiplied pixels (and reads its output as such). --threads N renders the
// window as N bands on N threads at once. The output is the plug-in's whole region of
// definition. Any status the standard does not allow, refused call or leak fails the run.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "Host.h"
#include "HostProblems.h"
#include "ImageFiles.h"
#include "Instance.h"
#include "MultiThreadSuite.h"
#include "ParamText.h"

namespace {

using namespace solvane::ofx_host;

struct Options {
  std::string binary, input, output;
  std::vector<std::pair<std::string, std::string>> params;
  int depth = 0;  // 0: 32 for EXR input, else 8
  int scaleFactor = 1;
  OfxRectI window{0, 0, 0, 0};
  bool premultiplied = false;
  std::string context = kOfxImageEffectContextFilter;
  int threads = 1;
};

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "solvane-ofx-render: %s\n", message.c_str());
  std::exit(1);
}

int ParseInt(const std::string& text, const char* option) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < -(1L << 30) || value > (1L << 30)) {
    Fail(std::string(option) + " takes a whole number, not \"" + text + "\"");
  }
  return int(value);
}

OfxRectI ParseWindow(const std::string& text) {
  std::vector<int> v;
  std::stringstream parts(text);
  for (std::string part; std::getline(parts, part, ',');) v.push_back(ParseInt(part, "--window"));
  if (v.size() != 4 || v[0] >= v[2] || v[1] >= v[3]) {
    Fail("--window takes x1,y1,x2,y2 with x1 < x2 and y1 < y2, not \"" + text + "\"");
  }
  return {v[0], v[1], v[2], v[3]};
}

int ParseScale(const std::string& text) {
  char* end = nullptr;
  const double scale = std::strtod(text.c_str(), &end);
  const double factor = scale > 0 ? 1.0 / scale : 0;
  if (text.empty() || *end != '\0' || !(scale > 0 && scale <= 1) ||
      std::fabs(factor - std::round(factor)) > 1e-6) {
    Fail("--scale takes 1/N for a whole N (1, 0.5, 0.25 ...), not \"" + text + "\"");
  }
  return int(std::round(factor));
}

Options Parse(int argc, char** argv) {
  Options o;
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto value = [&]() -> std::string {
      if (i + 1 >= argc) Fail(arg + " needs a value");
      return argv[++i];
    };
    if (arg == "--param") {
      const std::string setting = value();
      const size_t equals = setting.find('=');
      if (equals == std::string::npos || equals == 0) Fail("--param takes NAME=VALUE");
      o.params.emplace_back(setting.substr(0, equals), setting.substr(equals + 1));
    } else if (arg == "--depth") {
      o.depth = ParseInt(value(), "--depth");
      if (o.depth != 8 && o.depth != 32) Fail("--depth takes 8 or 32");
    } else if (arg == "--scale") {
      o.scaleFactor = ParseScale(value());
    } else if (arg == "--window") {
      o.window = ParseWindow(value());
    } else if (arg == "--premultiplied") {
      o.premultiplied = true;
    } else if (arg == "--context") {
      const std::string context = value();
      if (context == "filter") {
        o.context = kOfxImageEffectContextFilter;
      } else if (context == "general") {
        o.context = kOfxImageEffectContextGeneral;
      } else {
        Fail("--context takes filter or general");
      }
    } else if (arg == "--threads") {
      o.threads = ParseInt(value(), "--threads");
      if (o.threads < 1 || o.threads > 64) Fail("--threads takes 1 to 64");
    } else if (arg.size() > 1 && arg[0] == '-') {
      Fail("unknown option " + arg);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 3) {
    Fail(
        "usage: solvane-ofx-render BUNDLE_BINARY INPUT OUTPUT [--param NAME=VALUE]... "
        "[--depth 8|32] [--scale S] [--window x1,y1,x2,y2] [--premultiplied] "
        "[--context filter|general] [--threads N]");
  }
  o.binary = positional[0], o.input = positional[1], o.output = positional[2];
  if (o.depth == 0) {
    const std::string& in = o.input;
    const bool exr =
        in.size() > 4 && (in.substr(in.size() - 4) == ".exr" || in.substr(in.size() - 4) == ".EXR");
    o.depth = exr ? 32 : 8;
  }
  return o;
}

void Check(OfxStatus status, const std::string& what) {
  if (status != kOfxStatOK) Fail(what + " answered " + StatusName(status));
}

int Run(const Options& o) {
  const Depth depth = o.depth == 8 ? Depth::kByte : Depth::kFloat;
  const HostImage full = ReadImageFile(o.input, depth, o.premultiplied);
  auto source =
      std::make_shared<HostImage>(o.scaleFactor == 1 ? full : BoxDownsample(full, o.scaleFactor));
  SetHostThreadCount(unsigned(o.threads));
  Ledger::Get().EchoMessages(true);
  const LedgerCounts start = Ledger::Get().Counts();
  Host host(o.binary);
  Check(host.Describe(), "kOfxActionDescribe");
  Check(host.DescribeInContext(o.context), "kOfxImageEffectActionDescribeInContext");
  InstanceSetup setup;
  setup.context = o.context;
  setup.projectWidth = full.Width(), setup.projectHeight = full.Height();
  setup.depth = depth;
  setup.premultiplication = source->premultiplication;
  OfxStatus status = kOfxStatOK;
  std::unique_ptr<Instance> instance = host.CreateInstance(setup, &status);
  if (!instance) Check(status, "kOfxActionCreateInstance");
  instance->SetSource(source, 1.0 / o.scaleFactor);
  for (const auto& [name, text] : o.params) {
    Param* param = instance->Params().Find(name);
    if (param == nullptr) Fail("the plug-in has no parameter " + name);
    Check(instance->SetParam(name, ParseParamValue(*param, text)), "changing " + name);
  }
  FrameRequest request;
  request.renderScale = 1.0 / o.scaleFactor;
  request.window = o.window;
  request.bands = o.threads;
  const FrameResult frame = instance->RenderFrame(request);
  Check(frame.status, frame.failedAction);
  WriteImageFile(o.output, *frame.output);
  instance.reset();
  const std::vector<std::string> problems = HostProblems(host, start);
  for (const std::string& problem : problems) {
    std::fprintf(stderr, "solvane-ofx-render: %s\n", problem.c_str());
  }
  return problems.empty() ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = Parse(argc, argv);
  try {
    return Run(options);
  } catch (const std::exception& error) {
    Fail(error.what());
  }
}
