#include "HostRunSupport.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <OpenImageIO/imageio.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace solvane::frei0r::test {
namespace {

// The filter's parameters in frei0r order with their defaults as a command line writes
// them. FFmpeg sets parameters by position, so this order is part of the interface.
struct Positional {
  const char* name;
  ValueKind kind;
  const char* value;
};
constexpr Positional kPositional[] = {
    {"Mode", ValueKind::kItem, "zoom"},
    {"Position X", ValueKind::kNumber, "0.5"},
    {"Position Y", ValueKind::kNumber, "0.5"},
    {"Threshold Mode", ValueKind::kItem, "luma"},
    {"Threshold", ValueKind::kNumber, "0"},
    {"Threshold Smooth", ValueKind::kNumber, "0.5"},
    {"Length", ValueKind::kNumber, "1"},
    {"Spin Amount", ValueKind::kNumber, "0.08333333333333333"},  // 30 degrees
    {"Exposure", ValueKind::kNumber, "1"},
    {"Decay", ValueKind::kNumber, "0.5"},
    {"Direction", ValueKind::kItem, "out"},
    {"Aberration Amount", ValueKind::kNumber, "0"},
    {"Aberration Channels", ValueKind::kItem, "red & blue"},
    {"Quality", ValueKind::kItem, "moderate"},
    {"Samples", ValueKind::kNumber, "0.25"},
    {"Noise", ValueKind::kNumber, "1"},
    {"Repeat Edges", ValueKind::kBool, "1"},
    {"Input Opacity", ValueKind::kNumber, "1"},
    {"Blend Mode", ValueKind::kItem, "screen"},
    {"Unmult", ValueKind::kBool, "1"},
    {"View", ValueKind::kItem, "final composite"},
};

// GStreamer's property names: lower case, anything but letters and digits a dash.
std::string GstName(const std::string& name) {
  std::string canonical;
  for (const char c : name) {
    canonical += std::isalnum(static_cast<unsigned char>(c))
                     ? char(std::tolower(static_cast<unsigned char>(c)))
                     : '-';
  }
  return canonical;
}

uint8_t Byte(double v) {
  return uint8_t(std::clamp(std::lround(v), 0L, 255L));
}

// Frame f: a gradient, a white disc moving right, the left 12 columns transparent, the
// next 12 ramping up, and the bottom rows half transparent.
std::vector<uint8_t> InputFrame(int f) {
  std::vector<uint8_t> rgba(size_t(kWidth) * kHeight * 4);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      uint8_t* p = &rgba[(size_t(y) * kWidth + x) * 4];
      const double dx = x - (30 + 5 * f), dy = y - 28;
      const bool disc = dx * dx + dy * dy < 100;
      p[0] = disc ? 255 : Byte(x * 255.0 / kWidth);
      p[1] = disc ? 250 : Byte(y * 255.0 / kHeight);
      p[2] = disc ? 240 : 64;
      p[3] = x < 12 ? 0 : x < 24 ? Byte((x - 11) * 255.0 / 13) : y >= 56 ? 128 : 255;
    }
  }
  return rgba;
}

void WriteInputFrames(const std::string& dir) {
  for (int f = 0; f < kFrames; ++f) {
    const std::string path =
        dir + "in_" + std::string(4 - std::to_string(f).size(), '0') + std::to_string(f) + ".png";
    auto out = OIIO::ImageOutput::create(path);
    OIIO::ImageSpec spec(kWidth, kHeight, 4, OIIO::TypeDesc::UINT8);
    spec.attribute("oiio:UnassociatedAlpha", 1);
    const std::vector<uint8_t> pixels = InputFrame(f);
    if (!out || !out->open(path, spec) || !out->write_image(OIIO::TypeDesc::UINT8, pixels.data()) ||
        !out->close()) {
      ADD_FAILURE() << "cannot write " << path;
    }
  }
  // melt reads the same frames from one lossless video file: its image-sequence producers
  // hand worker threads wrong frames now and then, and the GdkPixbuf one deadlocks in the
  // C library's locale lock when the sanitizer runtime is preloaded.
  const std::string mkv = "ffmpeg -nostdin -v error -y -start_number 0 -i '" + dir +
                          "in_%04d.png' -c:v ffv1 -pix_fmt rgba '" + dir + "in.mkv'";
  if (std::system(mkv.c_str()) != 0) ADD_FAILURE() << "cannot write " << dir << "in.mkv";
  std::ofstream profile(dir + "profile");
  profile << "description=test\nframe_rate_num=25\nframe_rate_den=1\nwidth=" << kWidth
          << "\nheight=" << kHeight
          << "\nprogressive=1\nsample_aspect_num=1\nsample_aspect_den=1\n"
             "display_aspect_num=3\ndisplay_aspect_den=2\ncolorspace=709\n";
}

std::string ValueOf(const Controls& controls, const std::string& name, const char* fallback) {
  for (const Control& c : controls) {
    if (c.name == name) return c.value;
  }
  return fallback;
}

std::string BoolText(const std::string& value, const char* on, const char* off) {
  return value == "1" ? on : off;
}

// melt now and then ends normally (or stalls until the timeout) without its consumer
// having written a single frame, most often on a loaded machine; the filter cannot cause
// that short of crashing melt, which shows as a signal in the exit status. Such a run is
// made once more.
HostRun MeltOnce(const std::string& command, const std::string& prefix,
                 const std::string& extraEnv) {
  HostRun run = Shell(command, extraEnv);
  const bool wroteNothing = !std::filesystem::exists(FramePath(prefix, 0));
  if (!wroteNothing || (run.code != 0 && run.code != 124)) return run;
  run = Shell(command, extraEnv);
  run.err += "(melt wrote nothing on its first run and was run again)\n";
  return run;
}

std::string Range() {
  return "0-" + std::to_string(kFrames - 1);
}

bool workDirMade = false;

// The frames of a passing run are of no further use; a failing run keeps them to look at.
class WorkDirCleanup : public ::testing::Environment {
 public:
  void TearDown() override {
    if (!workDirMade) return;
    if (::testing::UnitTest::GetInstance()->Passed()) {
      std::filesystem::remove_all(WorkDir());
    } else {
      std::fprintf(stderr, "frames kept in %s\n", WorkDir().c_str());
    }
  }
};
const auto* const cleanup = ::testing::AddGlobalTestEnvironment(new WorkDirCleanup);

}  // namespace

const std::string& WorkDir() {
  static const std::string dir = [] {
    const std::string d = ::testing::TempDir() + "solvane_frei0r_" + std::to_string(getpid()) + "/";
    std::filesystem::remove_all(d);
    std::filesystem::create_directories(d);
    WriteInputFrames(d);
    workDirMade = true;
    return d;
  }();
  return dir;
}

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

HostRun Shell(const std::string& command, const std::string& extraEnv) {
  const std::string errPath = WorkDir() + "stderr.txt";
  std::string env = "FREI0R_PATH=" + Quoted(SOLVANE_FREI0R_DIR) +
                    " GST_REGISTRY=" + Quoted(WorkDir() + "gst-registry.bin");
  if (std::string(SOLVANE_SANITIZER_PRELOAD) != "") {
    // The hosts are not built with the sanitizer; its runtime must come first. Their own
    // leaks at exit are not ours to judge here.
    env += " LD_PRELOAD=" + Quoted(SOLVANE_SANITIZER_PRELOAD) +
           " ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:alloc_dealloc_mismatch=0";
  }
  // No run here takes more than seconds; a host that hangs fails its test instead.
  const std::string full = "cd " + Quoted(WorkDir()) + " && env " + env + " " + extraEnv +
                           " timeout -k 5 60 " + command + " 2>" + Quoted(errPath) +
                           " >/dev/null </dev/null";
  const int status = std::system(full.c_str());
  std::ifstream file(errPath);
  std::stringstream text;
  text << file.rdbuf();
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), text.str()};
}

std::string FfmpegFilterParams(const Controls& controls) {
  std::string params;
  for (const Positional& p : kPositional) {
    std::string value = ValueOf(controls, p.name, p.value);
    if (p.kind == ValueKind::kBool) value = BoolText(value, "y", "n");
    if (!params.empty()) params += "|";
    params += value;
  }
  return params;
}

HostRun Ffmpeg(const Controls& controls, const std::string& prefix, const std::string& extraEnv) {
  return Shell(
      "ffmpeg -nostdin -v error -y -start_number 0 -i in_%04d.png -vf " +
          Quoted("frei0r=filter_name=solvane:filter_params=" + FfmpegFilterParams(controls)) +
          " -pix_fmt rgba -start_number 0 " + prefix + "_%04d.png",
      extraEnv);
}

HostRun Melt(const Controls& controls, const std::string& prefix, const std::string& consumerArgs,
             const std::string& extraEnv) {
  return MeltChain({controls}, prefix, consumerArgs, extraEnv);
}

HostRun MeltChain(const std::vector<Controls>& filters, const std::string& prefix,
                  const std::string& consumerArgs, const std::string& extraEnv) {
  std::string args;
  for (const Controls& controls : filters) {
    args += " -filter frei0r.solvane";
    for (const Control& c : controls) args += " " + Quoted(c.name + "=" + c.value);
  }
  return MeltOnce("melt -quiet -profile profile in.mkv in=0 out=" + std::to_string(kFrames - 1) +
                      args + " -consumer avformat:" + prefix +
                      "_%04d.png vcodec=png pix_fmt=rgba start_number=0 " + consumerArgs,
                  prefix, extraEnv);
}

HostRun MeltXml(const std::string& xmlBody, const std::string& prefix) {
  const std::string path = WorkDir() + prefix + ".mlt";
  std::ofstream(path) << "<?xml version=\"1.0\"?>\n<mlt>\n"
                      << "<profile width=\"" << kWidth << "\" height=\"" << kHeight
                      << "\" frame_rate_num=\"25\" frame_rate_den=\"1\" progressive=\"1\" "
                         "sample_aspect_num=\"1\" sample_aspect_den=\"1\" "
                         "display_aspect_num=\"3\" display_aspect_den=\"2\" "
                         "colorspace=\"709\"/>\n"
                      << xmlBody << "</mlt>\n";
  return MeltOnce("melt -quiet " + Quoted(path) + " -consumer avformat:" + prefix +
                      "_%04d.png vcodec=png pix_fmt=rgba start_number=0",
                  prefix, "");
}

HostRun Gstreamer(const Controls& controls, const std::string& prefix) {
  std::string props;
  for (const Control& c : controls) {
    const std::string value =
        c.kind == ValueKind::kBool ? BoolText(c.value, "true", "false") : c.value;
    props += " " + GstName(c.name) + "=" + Quoted(value);
  }
  const std::string command =
      "gst-launch-1.0 -q multifilesrc location=in_%04d.png index=0 stop-index=" +
      std::to_string(kFrames - 1) +
      " caps=image/png,framerate=25/1 ! pngdec ! videoconvert ! "
      "video/x-raw,format=RGBA ! frei0r-filter-solvane" +
      props +
      " ! videoconvert ! video/x-raw,format=RGBA ! pngenc ! multifilesink location=" + prefix +
      "_%04d.png";
  HostRun run = Shell(command);
  // gst-launch-1.0 sometimes dies in its exit, after every frame is written: gst_deinit
  // lets the streaming thread end while the main thread's exit runs the GL libraries'
  // teardown, and the two race in libglvnd's thread state (abort in malloc, or SIGSEGV,
  // which gst-launch answers by waiting for a debugger until the timeout). That run is made
  // once more; frames are checked as always.
  const bool diedAtExit =
      std::filesystem::exists(FramePath(prefix, kFrames - 1)) &&
      (run.code == 134 || run.code == 139 || run.err.find("Caught SIGSEGV") != std::string::npos);
  if (!diedAtExit) return run;
  run = Shell(command);
  run.err += "(gst-launch-1.0 died at exit on its first run and was run again)\n";
  return run;
}

HostRun Reference(const Controls& controls, const std::string& prefix, const std::string& keys,
                  const std::string& input) {
  std::string args;
  for (const Control& c : controls) {
    if (!c.cli.empty()) args += " --param " + Quoted(c.cli);
  }
  return Shell(Quoted(SOLVANE_RENDER_PATH) + " --module " + Quoted(SOLVANE_MODULE_PATH) +
               " --quiet --depth 8 --frames " + Range() + args + " " + keys + " " + input +
               "_%04d.png " + prefix + "_%04d.png");
}

std::string FramePath(const std::string& prefix, int frame) {
  char name[64];
  std::snprintf(name, sizeof name, "%s_%04d.png", prefix.c_str(), frame);
  return WorkDir() + name;
}

Frame ReadFrame(const std::string& path) {
  OIIO::ImageSpec config;
  config.attribute("oiio:UnassociatedAlpha", 1);
  auto in = OIIO::ImageInput::open(path, &config);
  Frame frame;
  if (!in || in->spec().nchannels != 4) return frame;
  frame.width = in->spec().width;
  frame.height = in->spec().height;
  frame.rgba.resize(size_t(frame.width) * frame.height * 4);
  if (!in->read_image(0, 0, 0, 4, OIIO::TypeDesc::UINT8, frame.rgba.data())) return {};
  return frame;
}

int MaxDifference(const Frame& a, const Frame& b) {
  if (a.rgba.empty() || a.width != b.width || a.height != b.height) return 256;
  int worst = 0;
  for (size_t i = 0; i < a.rgba.size(); ++i) {
    worst = std::max(worst, std::abs(int(a.rgba[i]) - int(b.rgba[i])));
  }
  return worst;
}

int MaxSequenceDifference(const std::string& prefixA, const std::string& prefixB) {
  int worst = 0;
  for (int f = 0; f < kFrames; ++f) {
    worst = std::max(
        worst, MaxDifference(ReadFrame(FramePath(prefixA, f)), ReadFrame(FramePath(prefixB, f))));
  }
  return worst;
}

}  // namespace solvane::frei0r::test
