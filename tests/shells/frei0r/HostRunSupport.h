// Running the real frei0r hosts (ffmpeg, melt, gst-launch-1.0) and solvane-render on the
// same small frame sequence, and comparing what they write. Controls are given once, in
// the filter's terms and in the CLI's, so every case states both sides of the mapping.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace solvane::frei0r::test {

inline constexpr int kWidth = 96;
inline constexpr int kHeight = 64;
inline constexpr int kFrames = 10;

enum class ValueKind { kNumber, kBool, kItem };

// One control set through a host ("Length" 0.5) and the same through the CLI
// ("Length=1000"). An empty CLI side means the control is left to its default there.
struct Control {
  std::string name;
  ValueKind kind = ValueKind::kNumber;
  std::string value;  // a number, 1/0 for bools, an item's text
  std::string cli;    // NAME=VALUE for solvane-render --param
};
using Controls = std::vector<Control>;

struct HostRun {
  int code = -1;
  std::string err;
};

// A folder of this process's own, with the input frames in_0000.png ... written once:
// a moving bright disc over a gradient, with transparent and half-transparent parts.
const std::string& WorkDir();

// `text` as one word for the shell, whatever it holds.
std::string Quoted(const std::string& text);

// Runs a shell command in WorkDir with the filter's folder on FREI0R_PATH (and the
// sanitizer runtime preloaded in a sanitizer build); `extraEnv` is prepended as is.
HostRun Shell(const std::string& command, const std::string& extraEnv = "");

// The hosts' command lines, writing `prefix`_0000.png ... into WorkDir.
std::string FfmpegFilterParams(const Controls& controls);
HostRun Ffmpeg(const Controls& controls, const std::string& prefix,
               const std::string& extraEnv = "");
HostRun Melt(const Controls& controls, const std::string& prefix,
             const std::string& consumerArgs = "", const std::string& extraEnv = "");
// melt with one filter instance per entry, applied in order on the one track.
HostRun MeltChain(const std::vector<Controls>& filters, const std::string& prefix,
                  const std::string& consumerArgs = "", const std::string& extraEnv = "");
HostRun MeltXml(const std::string& xmlBody, const std::string& prefix);
HostRun Gstreamer(const Controls& controls, const std::string& prefix);
// solvane-render --depth 8 over the whole sequence `input`_0000.png ...; `keys` are extra
// CLI arguments.
HostRun Reference(const Controls& controls, const std::string& prefix, const std::string& keys = "",
                  const std::string& input = "in");

struct Frame {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;  // straight, as stored
};
Frame ReadFrame(const std::string& path);
std::string FramePath(const std::string& prefix, int frame);

// The largest difference of one channel between two frames of one size; 256 when the
// frames differ in size or one is missing.
int MaxDifference(const Frame& a, const Frame& b);
// The same over every frame of two sequences in WorkDir.
int MaxSequenceDifference(const std::string& prefixA, const std::string& prefixB);

}  // namespace solvane::frei0r::test
