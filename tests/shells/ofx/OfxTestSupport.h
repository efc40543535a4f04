// Driving the OpenFX plug-in through the test host, and solvane-render on the same image
// for the pixels it must match. Inputs are written once per process: a gradient with a
// bright disc, a transparent and a half-transparent part, as 8-bit PNG and float EXR.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Host.h"
#include "HostImage.h"
#include "ImageFiles.h"
#include "Instance.h"
#include "Ledger.h"

namespace solvane::ofx_host::test {

inline constexpr int kWidth = 96;
inline constexpr int kHeight = 64;

// A parameter set as a user sets it in a host, and the same control in solvane-render's
// terms (NAME=VALUE; empty: left to its default there).
struct Setting {
  std::string param;
  std::vector<double> value;
  std::string cli;
};
using Settings = std::vector<Setting>;

// `s` as one word for the shell.
std::string Quoted(const std::string& s);

// The folder of this process's inputs: in.png, in.exr (straight colour with transparent
// parts), opaque.png, opaque.exr, and big.png: small.png with every pixel doubled each way.
const std::string& WorkDir();
std::string InputPath(const std::string& name);

// solvane-render on an input of WorkDir, with the settings' CLI sides and extra arguments,
// into `output` (in WorkDir). Returns its standard error where it fails, else "".
std::string RenderReference(const std::string& input, const std::string& output,
                            const Settings& settings, const std::string& extraArgs);

// Whether a GL context can be made here; the render tests skip where not (fail with
// SOLVANE_REQUIRE_GL set).
bool GlAvailable();

// The largest channel difference, relative above 1 (|a - b| / max(1, |b|)), over the two
// images, which must share their bounds (infinity where not). Premultiplied compares the
// premultiplied values (colour where alpha is 0 has no meaning there). `where` receives
// the worst pixel's position and values.
float LargestDifference(const HostImage& a, const HostImage& b, bool premultiplied = false,
                        std::string* where = nullptr);

// A host with the plug-in loaded and described in both contexts; each test makes its own.
class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  void RequireGl();

  std::unique_ptr<Instance> MakeInstance(
      const std::string& context = kOfxImageEffectContextFilter, Depth depth = Depth::kFloat,
      const std::string& premultiplication = kOfxImageUnPreMultiplied);
  // The instance with the source read from an input of WorkDir and the settings applied
  // as user edits (every status checked).
  std::unique_ptr<Instance> InstanceFor(const std::string& input, Depth depth,
                                        const Settings& settings, bool premultiply = false);
  // One whole frame; fails the test where the frame fails.
  FrameResult Render(Instance& instance, FrameRequest request = {});

  std::unique_ptr<Host> host_;
  LedgerCounts start_;
};

}  // namespace solvane::ofx_host::test
