// What solvane-render does to the files around it when things go wrong: a full disk, a
// read-only folder, a name too long, two renders to one output, an output that is an
// input, and SIGINT/SIGTERM in the middle of a sequence. Nothing it had written before is
// lost, nothing half-written is left, and the user is told why in one line.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <unistd.h>

#include <OpenImageIO/imageio.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/tools/CliProcess.h"
#include "tools/render/AtomicFile.h"

namespace solvane::cli {
namespace {

namespace fs = std::filesystem;
using testing::FileBytes;
using testing::RunCli;
using testing::TemporaryFilesIn;
using testing::TestFolder;

const std::string kDemo = std::string(SOLVANE_SOURCE_DIR) + "/assets/demo/skyline.png";
// A 60x34 render in a few milliseconds.
const std::vector<std::string> kQuick = {"--quiet", "--downsample", "8", "--param",
                                         "Quality/Quality=Draft"};

std::vector<std::string> Args(std::vector<std::string> head, const std::vector<std::string>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

std::vector<std::string> Quick(const std::vector<std::string>& tail) {
  return Args(kQuick, tail);
}

bool OneLine(const std::string& text) {
  return text.find('\n') == text.size() - 1;
}

// A small tmpfs of the test's own, which needs root (as CI runs); without it the test is
// skipped with the reason.
class SmallDisk {
 public:
  explicit SmallDisk(const std::string& name) : path_(TestFolder(name)) {
    if (geteuid() != 0) {
      why_ = "needs root to mount a small tmpfs";
    } else if (mount("tmpfs", path_.c_str(), "tmpfs", 0, "size=192k") != 0) {
      why_ = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
    } else {
      mounted_ = true;
    }
  }
  ~SmallDisk() {
    if (mounted_) umount2(path_.c_str(), MNT_DETACH);
  }
  bool Mounted() const { return mounted_; }
  const std::string& Why() const { return why_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  const std::string& Path() const { return path_; }

  // Takes every free byte.
  void Fill() const {
    const int fd = ::open(File("filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    ASSERT_GE(fd, 0);
    const std::string block(1024, 'x');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    while (::write(fd, block.data(), 1) > 0) {
    }
    ::close(fd);
  }
  void Free() const { fs::remove(File("filler")); }
  bool RemountReadOnly() const {
    return mount("tmpfs", path_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=192k") == 0;
  }

 private:
  std::string path_;
  std::string why_;
  bool mounted_ = false;
};

TEST(AtomicFile, TemporaryNamesAreHiddenUniqueAndShort) {
  EXPECT_EQ(TemporaryName("out.png", 42, 7), ".partial-42-7-out.png");
  EXPECT_NE(TemporaryName("out.png", 42, 7), TemporaryName("out.png", 42, 8));
  EXPECT_NE(TemporaryName("out.png", 42, 7), TemporaryName("out.png", 43, 7));
  const std::string longName = std::string(250, 'a') + ".png";
  EXPECT_LE(TemporaryName(longName, 4294967295u, 99999999).size(), 100u);
  // A cut never splits a UTF-8 character: "é" is two bytes, the cut falls on the 64th.
  const std::string accented = std::string(63, 'a') + "\xC3\xA9" + "b.png";
  EXPECT_EQ(TemporaryName(accented, 1, 1), ".partial-1-1-" + std::string(63, 'a'));
}

TEST(FileSafety, AFullDiskKeepsThePreviousFilesAndSaysWhy) {
  const SmallDisk disk("full");
  if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
  const std::string png = disk.File("out.png"), jpeg = disk.File("out.jpg");
  const std::string preset = disk.File("look.json");
  ASSERT_EQ(RunCli(Quick({kDemo, png})).code, 0);
  ASSERT_EQ(RunCli(Quick({kDemo, jpeg})).code, 0);
  ASSERT_EQ(RunCli({"--param", "Exposure=2", "--save-preset", preset}).code, 0);
  const std::string pngBefore = FileBytes(png), jpegBefore = FileBytes(jpeg);
  const std::string presetBefore = FileBytes(preset);
  ASSERT_GT(pngBefore.size(), 100u);
  disk.Fill();
  // Full size this time, so the new picture cannot fit in any slack the disk has left.
  for (const std::string& out : {png, jpeg}) {
    const testing::CliResult run = RunCli({"--quiet", "--param", "Exposure=4", kDemo, out});
    EXPECT_EQ(run.code, 1) << run.err;
    EXPECT_NE(run.err.find(out + "\": No space left on device"), std::string::npos) << run.err;
    EXPECT_TRUE(OneLine(run.err)) << run.err;
  }
  const testing::CliResult save =
      RunCli({"--param", "Exposure=3", "--param", "Length=1500", "--save-preset", preset});
  EXPECT_EQ(save.code, 1) << save.err;
  EXPECT_NE(save.err.find("No space left on device"), std::string::npos) << save.err;
  EXPECT_EQ(FileBytes(png), pngBefore);
  EXPECT_EQ(FileBytes(jpeg), jpegBefore);
  EXPECT_EQ(FileBytes(preset), presetBefore);
  // A sequence stops at the first frame that cannot be written and says so.
  const testing::CliResult sequence =
      RunCli({"--quiet", "--frames", "1-3", kDemo, disk.File("f_####.png")});
  EXPECT_EQ(sequence.code, 1) << sequence.err;
  EXPECT_NE(sequence.err.find("0 of 3 frames written"), std::string::npos) << sequence.err;
  EXPECT_FALSE(fs::exists(disk.File("f_0001.png")));
  EXPECT_EQ(TemporaryFilesIn(disk.Path()), 0);
}

TEST(FileSafety, AReadOnlyFolderOrAnOverlongNameFailsWithTheReason) {
  const SmallDisk disk("readonly");
  if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
  const std::string out = disk.File("kept.png");
  ASSERT_EQ(RunCli(Quick({kDemo, out})).code, 0);
  const std::string before = FileBytes(out);
  ASSERT_TRUE(disk.RemountReadOnly()) << std::strerror(errno);
  const testing::CliResult image = RunCli(Quick({"--param", "Exposure=4", kDemo, out}));
  EXPECT_EQ(image.code, 1) << image.err;
  EXPECT_NE(image.err.find("Read-only file system"), std::string::npos) << image.err;
  const testing::CliResult preset = RunCli({"--save-preset", disk.File("p.json")});
  EXPECT_EQ(preset.code, 1) << preset.err;
  EXPECT_NE(preset.err.find("Read-only file system"), std::string::npos) << preset.err;
  EXPECT_EQ(FileBytes(out), before);

  const std::string longDir = TestFolder("longname");
  const std::string longName = longDir + "/" + std::string(300, 'n') + ".png";
  const testing::CliResult tooLong = RunCli(Quick({kDemo, longName}));
  EXPECT_EQ(tooLong.code, 1) << tooLong.err;
  EXPECT_NE(tooLong.err.find("File name too long"), std::string::npos) << tooLong.err;
  EXPECT_EQ(TemporaryFilesIn(longDir), 0);
}

TEST(FileSafety, TwoRendersToOneOutputLeaveOneWholePicture) {
  const std::string dir = TestFolder("race");
  const std::string dim = dir + "/dim.png", bright = dir + "/bright.png";
  ASSERT_EQ(RunCli(Quick({"--param", "Exposure=0", kDemo, dim})).code, 0);
  ASSERT_EQ(RunCli(Quick({"--param", "Exposure=4", kDemo, bright})).code, 0);
  const std::string out = dir + "/shared.png";
  for (int round = 0; round < 4; ++round) {
    const std::string errA = dir + "/a.txt", errB = dir + "/b.txt";
    const pid_t a = testing::StartCli(Quick({"--param", "Exposure=0", kDemo, out}), errA);
    const pid_t b = testing::StartCli(Quick({"--param", "Exposure=4", kDemo, out}), errB);
    EXPECT_EQ(testing::WaitCli(a, errA).code, 0);
    EXPECT_EQ(testing::WaitCli(b, errB).code, 0);
    const std::string result = FileBytes(out);
    EXPECT_TRUE(result == FileBytes(dim) || result == FileBytes(bright)) << "round " << round;
  }
  EXPECT_EQ(TemporaryFilesIn(dir), 0);
}

TEST(FileSafety, AnOutputThatIsAnInputIsRefusedAndTheInputKept) {
  const std::string dir = TestFolder("input_output");
  const std::string in = dir + "/in.png";
  fs::copy_file(kDemo, in);
  fs::create_symlink(in, dir + "/alias.png");
  fs::create_hard_link(in, dir + "/hard.png");
  fs::copy_file(kDemo, dir + "/f_0001.png");
  fs::copy_file(kDemo, dir + "/f_0002.png");
  std::ofstream(dir + "/look.json") << R"({"controls": {"Exposure": 2}})";
  const std::string original = FileBytes(in);
  const std::vector<std::vector<std::string>> cases = {
      {in, in},
      {in, dir + "/./in.png"},
      {in, dir + "/alias.png"},
      {in, dir + "/hard.png"},
      {"--save-preset", in, in, dir + "/out.png"},
      {"--save-preset", dir + "/alias.png", "--frames", "0", in, dir + "/out.png"},
      {"--frames", "1-2", dir + "/f_####.png", dir + "/f_%04d.png"},
      {"--preset", dir + "/look.json", in, dir + "/look.json"},
      {in, SOLVANE_MODULE_PATH},
  };
  for (const auto& args : cases) {
    const testing::CliResult run = RunCli(Quick(args));
    EXPECT_EQ(run.code, 2) << args.back() << ": " << run.err;
    EXPECT_NE(run.err.find("is the input"), std::string::npos) << run.err;
    EXPECT_TRUE(OneLine(run.err)) << run.err;
  }
  EXPECT_EQ(FileBytes(in), original);
  EXPECT_EQ(FileBytes(dir + "/f_0001.png"), FileBytes(kDemo));
  // Saving over the preset that was read updates it: that is not an input lost.
  const testing::CliResult update = RunCli({"--preset", dir + "/look.json", "--param",
                                            "Length=1500", "--save-preset", dir + "/look.json"});
  EXPECT_EQ(update.code, 0) << update.err;
  EXPECT_NE(FileBytes(dir + "/look.json").find("1500"), std::string::npos);
}

// Starts a long sequence, waits for some frames, sends `signal` and checks what is left.
void StopWithSignal(int signal, int expectedCode, const std::string& name) {
  const std::string dir = TestFolder(name);
  const std::string err = dir + "/stderr.txt";
  const pid_t pid = testing::StartCli(
      Quick({"--threads", "2", "--frames", "1-100000", kDemo, dir + "/f_######.png"}), err);
  ASSERT_GT(pid, 0);
  const auto frames = [&dir] {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
      count += entry.path().extension() == ".png" && entry.path().filename().string()[0] == 'f';
    }
    return count;
  };
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (frames() < 3 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(kill(pid, signal), 0);
  const testing::CliResult run = testing::WaitCli(pid, err, 60);
  EXPECT_EQ(run.code, expectedCode) << run.err;
  const int written = frames();
  const std::string says = "stopped by " + std::string(signal == SIGINT ? "SIGINT" : "SIGTERM") +
                           ": " + std::to_string(written) + " of 100000 frames written";
  EXPECT_NE(run.err.find(says), std::string::npos) << run.err;
  EXPECT_TRUE(OneLine(run.err)) << run.err;
  EXPECT_GE(written, 3);
  EXPECT_LT(written, 100000);
  EXPECT_EQ(TemporaryFilesIn(dir), 0);
  // The frames written are whole, one after another from the first.
  for (int n = 1; n <= written; ++n) {
    const std::string path =
        dir + "/f_" + std::string(6 - std::to_string(n).size(), '0') + std::to_string(n) + ".png";
    auto in = OIIO::ImageInput::open(path);
    ASSERT_TRUE(in) << path;
    std::vector<float> pixels(size_t(in->spec().image_pixels()) * in->spec().nchannels);
    EXPECT_TRUE(
        in->read_image(0, 0, 0, in->spec().nchannels, OIIO::TypeDesc::FLOAT, pixels.data()) &&
        !in->has_error())
        << path;
  }
}

TEST(FileSafety, SigtermStopsASequenceAtAFrameBoundary) {
  StopWithSignal(SIGTERM, 143, "sigterm");
}

TEST(FileSafety, SigintStopsASequenceAtAFrameBoundary) {
  StopWithSignal(SIGINT, 130, "sigint");
}

}  // namespace
}  // namespace solvane::cli
