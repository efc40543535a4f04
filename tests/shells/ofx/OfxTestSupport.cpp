#include "OfxTestSupport.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "HostProblems.h"
#include "OffscreenContext.h"
#include "host/World.h"
#include "tools/render/ImageIO.h"

namespace solvane::ofx_host::test {
namespace {

// The scene at (x, row) counted from the top: a gradient, a bright disc, the right-hand
// columns half transparent above and transparent below.
PF_PixelFloat Scene(int x, int row, bool opaque) {
  const float dx = float(x) - 40.0f, dy = float(row) - 30.0f;
  PF_PixelFloat p{1.0f, float(x) / kWidth, float(row) / kHeight, 0.3f};
  if (dx * dx + dy * dy < 144.0f) p = {1.0f, 1.0f, 0.95f, 0.8f};
  if (!opaque && x >= 72) p.alpha = row < 32 ? 0.5f : 0.0f;
  return p;
}

void WriteScene(const std::string& path, int depth, bool opaque) {
  host::World world(kWidth, kHeight, depth);
  for (int row = 0; row < kHeight; ++row) {
    for (int x = 0; x < kWidth; ++x) world.SetValue(x, row, Scene(x, row, opaque));
  }
  cli::WriteImage(path, world);
}

// small.png at half size, and big.png with each of its pixels as a 2 x 2 block.
void WriteReplicated(const std::string& dir) {
  host::World small(kWidth / 2, kHeight / 2, 8), big(kWidth, kHeight, 8);
  for (int row = 0; row < kHeight / 2; ++row) {
    for (int x = 0; x < kWidth / 2; ++x) {
      const PF_PixelFloat p = Scene(x * 2, row * 2, false);
      small.SetValue(x, row, p);
      for (int d = 0; d < 4; ++d) big.SetValue(x * 2 + d % 2, row * 2 + d / 2, p);
    }
  }
  cli::WriteImage(dir + "small.png", small);
  cli::WriteImage(dir + "big.png", big);
}

bool workDirMade = false;

// The files of a passing run are of no further use; a failing run keeps them to look at.
class WorkDirCleanup : public ::testing::Environment {
 public:
  void TearDown() override {
    if (workDirMade && ::testing::UnitTest::GetInstance()->Passed()) {
      std::error_code ignored;
      std::filesystem::remove_all(WorkDir(), ignored);
    }
  }
};
[[maybe_unused]] ::testing::Environment* const cleanup =
    ::testing::AddGlobalTestEnvironment(new WorkDirCleanup);

bool GlRequired() {
  const char* required = std::getenv("SOLVANE_REQUIRE_GL");
  return required != nullptr && *required != '\0' && std::strcmp(required, "0") != 0;
}

}  // namespace

std::string Quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

const std::string& WorkDir() {
  static const std::string dir = [] {
    const auto path =
        std::filesystem::temp_directory_path() / ("solvane-ofx-host-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    const std::string d = path.string() + "/";
    WriteScene(d + "in.png", 8, false);
    WriteScene(d + "in.exr", 32, false);
    WriteScene(d + "opaque.png", 8, true);
    WriteScene(d + "opaque.exr", 32, true);
    WriteReplicated(d);
    workDirMade = true;
    return d;
  }();
  return dir;
}

std::string InputPath(const std::string& name) {
  return WorkDir() + name;
}

std::string RenderReference(const std::string& input, const std::string& output,
                            const Settings& settings, const std::string& extraArgs) {
  std::string command = Quoted(SOLVANE_RENDER_PATH) + " --quiet " + extraArgs;
  for (const Setting& s : settings) {
    if (!s.cli.empty()) command += " --param " + Quoted(s.cli);
  }
  const std::string err = WorkDir() + output + ".stderr";
  command +=
      " " + Quoted(InputPath(input)) + " " + Quoted(WorkDir() + output) + " 2>" + Quoted(err);
  if (std::system(command.c_str()) == 0) return "";
  std::ifstream in(err);
  std::stringstream text;
  text << in.rdbuf();
  return "solvane-render failed: " + command + "\n" + text.str();
}

bool GlAvailable() {
  static const bool available = [] {
    OffscreenContext* context = CreateOffscreenContext(nullptr);
    const bool valid = IsContextValid(context);
    DestroyOffscreenContext(context);
    FreeOffscreenContext(context);
    return valid;
  }();
  return available;
}

float LargestDifference(const HostImage& a, const HostImage& b, bool premultiplied,
                        std::string* where) {
  const OfxRectI& ra = a.Bounds();
  const OfxRectI& rb = b.Bounds();
  if (ra.x1 != rb.x1 || ra.y1 != rb.y1 || ra.x2 != rb.x2 || ra.y2 != rb.y2) return INFINITY;
  float largest = 0;
  for (int y = ra.y1; y < ra.y2; ++y) {
    for (int x = ra.x1; x < ra.x2; ++x) {
      Rgba pa = a.Get(x, y), pb = b.Get(x, y);
      for (int c = 0; c < 4; ++c) {
        const float va = premultiplied && c < 3 ? pa[size_t(c)] * pa[3] : pa[size_t(c)];
        const float vb = premultiplied && c < 3 ? pb[size_t(c)] * pb[3] : pb[size_t(c)];
        const float d = std::fabs(va - vb) / std::max(1.0f, std::fabs(vb));
        if (!(d <= largest)) {
          largest = std::isnan(d) ? INFINITY : d;
          if (where != nullptr) {
            *where = "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") channel " +
                     std::to_string(c) + ": " + std::to_string(va) + " against " +
                     std::to_string(vb);
          }
        }
      }
    }
  }
  return largest;
}

void PluginTest::SetUp() {
  Ledger::Get().ClearMisuses();
  Ledger::Get().ClearMessages();
  start_ = Ledger::Get().Counts();
  host_ = std::make_unique<Host>(SOLVANE_OFX_BINARY_PATH);
  ASSERT_EQ(host_->Describe(), kOfxStatOK);
  ASSERT_EQ(host_->DescribeInContext(kOfxImageEffectContextFilter), kOfxStatOK);
  ASSERT_EQ(host_->DescribeInContext(kOfxImageEffectContextGeneral), kOfxStatOK);
}

// Whatever a test did, the plug-in answered only what the standard allows, made no call
// the host refused, and gave back everything it took.
void PluginTest::TearDown() {
  if (!host_) return;
  const std::vector<std::string> problems = HostProblems(*host_, start_);
  for (const std::string& problem : problems) ADD_FAILURE() << problem;
  host_.reset();
  Ledger::Get().ClearMisuses();
  start_ = Ledger::Get().Counts();
}

void PluginTest::RequireGl() {
  if (GlAvailable()) return;
  if (GlRequired()) FAIL() << "no OpenGL 3.2 core context, and SOLVANE_REQUIRE_GL is set";
  GTEST_SKIP() << "no OpenGL 3.2 core context can be created here; set SOLVANE_REQUIRE_GL=1 "
                  "to fail instead";
}

std::unique_ptr<Instance> PluginTest::MakeInstance(const std::string& context, Depth depth,
                                                   const std::string& premultiplication) {
  InstanceSetup setup;
  setup.context = context;
  setup.projectWidth = kWidth, setup.projectHeight = kHeight;
  setup.depth = depth;
  setup.premultiplication = premultiplication;
  OfxStatus status = kOfxStatFailed;
  std::unique_ptr<Instance> instance = host_->CreateInstance(setup, &status);
  EXPECT_EQ(status, kOfxStatOK) << StatusName(status);
  return instance;
}

std::unique_ptr<Instance> PluginTest::InstanceFor(const std::string& input, Depth depth,
                                                  const Settings& settings, bool premultiply) {
  auto source = std::make_shared<HostImage>(ReadImageFile(InputPath(input), depth, premultiply));
  std::unique_ptr<Instance> instance =
      MakeInstance(kOfxImageEffectContextFilter, depth, source->premultiplication);
  if (!instance) return nullptr;
  instance->SetSource(source);
  for (const Setting& s : settings) {
    EXPECT_EQ(instance->SetParam(s.param, s.value), kOfxStatOK) << s.param;
  }
  return instance;
}

FrameResult PluginTest::Render(Instance& instance, FrameRequest request) {
  FrameResult frame = instance.RenderFrame(request);
  EXPECT_EQ(frame.status, kOfxStatOK)
      << frame.failedAction << " answered " << StatusName(frame.status);
  return frame;
}

}  // namespace solvane::ofx_host::test
