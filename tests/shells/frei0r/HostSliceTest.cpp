// melt slices a frei0r filter when its `threads` property is not 1: one instance made for
// a band of height / n rows, called on n threads at once with each band's rows. The rays
// cannot span the whole frame then; each band must come out exactly as solvane-render
// draws that band alone (within one code value), whatever the other bands do.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "HostRunSupport.h"

namespace solvane::frei0r::test {
namespace {

constexpr int kSliceHeight = 48;  // divisible by 2, 3 and 4, so melt keeps the slice count
constexpr int kTop = 8;           // rows of the input frames above the cropped part

// The cropped sequence melt reads, and a profile of its size.
void WriteSliceInput() {
  static bool written = false;
  if (written) return;
  written = true;
  const HostRun crop = Shell("ffmpeg -nostdin -v error -y -start_number 0 -i in_%04d.png -vf crop=" +
                             std::to_string(kWidth) + ":" + std::to_string(kSliceHeight) +
                             ":0:" + std::to_string(kTop) + " -c:v ffv1 -pix_fmt rgba slices.mkv");
  ASSERT_EQ(crop.code, 0) << crop.err;
  std::ofstream(WorkDir() + "profile-slices")
      << "description=slices\nframe_rate_num=25\nframe_rate_den=1\nwidth=" << kWidth
      << "\nheight=" << kSliceHeight
      << "\nprogressive=1\nsample_aspect_num=1\nsample_aspect_den=1\n"
         "display_aspect_num=2\ndisplay_aspect_den=1\ncolorspace=709\n";
}

// Band `band` of `bands` of the cropped frames, as solvane-render draws it alone.
std::string BandReference(int bands, int band) {
  const int rows = kSliceHeight / bands;
  const std::string input = "band" + std::to_string(bands) + "_" + std::to_string(band);
  const HostRun crop = Shell("ffmpeg -nostdin -v error -y -start_number 0 -i in_%04d.png -vf crop=" +
                             std::to_string(kWidth) + ":" + std::to_string(rows) + ":0:" +
                             std::to_string(kTop + band * rows) + " -pix_fmt rgba -start_number 0 " +
                             input + "_%04d.png");
  EXPECT_EQ(crop.code, 0) << crop.err;
  const HostRun ref = Reference({}, "ref_" + input, "", input);
  EXPECT_EQ(ref.code, 0) << ref.err;
  return "ref_" + input;
}

Frame Rows(const Frame& frame, int top, int rows) {
  Frame part{frame.width, rows, {}};
  if (frame.rgba.empty() || top + rows > frame.height) return {};
  const size_t rowBytes = size_t(frame.width) * 4;
  part.rgba.assign(frame.rgba.begin() + ptrdiff_t(top * rowBytes),
                   frame.rgba.begin() + ptrdiff_t((top + rows) * rowBytes));
  return part;
}

struct SliceCase {
  const char* threads;  // the filter's property
  int bands;            // the slices melt makes of 48 rows with MLT_SLICES_COUNT=4
};

class HostSlices : public ::testing::TestWithParam<SliceCase> {};

TEST_P(HostSlices, EachSliceEqualsItsBandRenderedAlone) {
  WriteSliceInput();
  const SliceCase c = GetParam();
  const std::string prefix = std::string("melt_threads") + c.threads;
  // melt makes no more slices than it counts processors unless told how many it has.
  const std::string command = "melt -quiet -profile profile-slices slices.mkv in=0 out=" +
                              std::to_string(kFrames - 1) + " -filter frei0r.solvane threads=" +
                              c.threads + " -consumer avformat:" + prefix +
                              "_%04d.png vcodec=png pix_fmt=rgba start_number=0";
  HostRun melt = Shell(command, "MLT_SLICES_COUNT=4");
  // melt on a loaded machine now and then ends normally without its consumer writing a
  // frame (see HostRunSupport.cpp); such a run is made again, twice at most.
  for (int again = 0; again < 2 && melt.code == 0 &&
                      !std::filesystem::exists(FramePath(prefix, kFrames - 1));
       ++again) {
    melt = Shell(command, "MLT_SLICES_COUNT=4");
  }
  ASSERT_EQ(melt.code, 0) << melt.err;
  const int rows = kSliceHeight / c.bands;
  std::vector<std::string> refs;
  for (int band = 0; band < c.bands; ++band) {
    refs.push_back(BandReference(c.bands, band));
    for (int f = 0; f < kFrames; ++f) {
      const Frame sliced = Rows(ReadFrame(FramePath(prefix, f)), band * rows, rows);
      EXPECT_LE(MaxDifference(sliced, ReadFrame(FramePath(refs.back(), f))), 1)
          << "threads=" << c.threads << ", band " << band << ", frame " << f;
    }
  }
  // Bands drawn alone differ from each other: a band copied over another could not match.
  EXPECT_GT(MaxDifference(ReadFrame(FramePath(refs[0], 0)), ReadFrame(FramePath(refs[1], 0))), 16);
}

INSTANTIATE_TEST_SUITE_P(Threads, HostSlices,
                         ::testing::Values(SliceCase{"2", 2}, SliceCase{"3", 3},
                                           SliceCase{"0", 4}),
                         [](const auto& test) {
                           return std::string("Threads") + test.param.threads;
                         });

}  // namespace
}  // namespace solvane::frei0r::test
