// Paths that are not regular files (devices, FIFOs, sockets) as outputs and inputs, and
// SIGINT/SIGTERM before the first frame: a device or a FIFO is written into, never
// replaced; a stream is read no further than the limit; a signal ends the command at once
// until it has written something, with one line saying so.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/tools/CliProcess.h"

namespace solvane::cli {
namespace {

namespace fs = std::filesystem;
using testing::CliResult;
using testing::RunCli;
using testing::TemporaryFilesIn;
using testing::TestFolder;

const std::string kDemo = std::string(SOLVANE_SOURCE_DIR) + "/assets/demo/skyline.png";
const std::vector<std::string> kQuick = {"--quiet", "--downsample", "8", "--param",
                                         "Quality/Quality=Draft"};
constexpr long kSmallPeakKilobytes = 600 * 1024;

std::vector<std::string> Quick(const std::vector<std::string>& tail) {
  std::vector<std::string> args = kQuick;
  args.insert(args.end(), tail.begin(), tail.end());
  return args;
}

bool OneLine(const std::string& text) {
  return text.find('\n') == text.size() - 1;
}

bool IsCharacterDevice(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

bool IsFifo(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

// Everything a writer puts into the FIFO, read on a thread of its own until the writer
// closes it (or 60 s pass, so that a tool that never writes cannot hang the test).
class FifoReader {
 public:
  explicit FifoReader(const std::string& path)
      : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK)), thread_([this] { Read(); }) {}
  ~FifoReader() { Join(); }
  const std::string& Bytes() {
    Join();
    return bytes_;
  }

 private:
  void Read() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    char buffer[65536];
    while (fd_ >= 0 && std::chrono::steady_clock::now() < deadline) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n > 0) bytes_.append(buffer, size_t(n));
      // Before the writer opens, a read also sees no writer: only an end after data counts.
      if (n == 0 && !bytes_.empty()) break;
      if (n == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (fd_ >= 0) ::close(fd_);
  }
  void Join() {
    if (thread_.joinable()) thread_.join();
  }
  int fd_;
  std::string bytes_;
  std::thread thread_;
};

TEST(NonRegularOutputs, DevicesAreWrittenIntoAndNeverReplaced) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to make device nodes";
  const std::string dir = TestFolder("devices");
  const std::string null = dir + "/nullc", image = dir + "/out.png", full = dir + "/fullc";
  ASSERT_EQ(::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
  ASSERT_EQ(::mknod(image.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
  ASSERT_EQ(::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
  CliResult run = RunCli({"--save-preset", null});
  EXPECT_EQ(run.code, 0) << run.err;
  run = RunCli(Quick({kDemo, image}));
  EXPECT_EQ(run.code, 0) << run.err;
  // /dev/full's "disk full" is reported as for any file.
  run = RunCli({"--save-preset", full});
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_NE(run.err.find("cannot write \"" + full + "\": No space left on device"),
            std::string::npos)
      << run.err;
  EXPECT_TRUE(OneLine(run.err)) << run.err;
  for (const std::string& node : {null, image, full}) {
    EXPECT_TRUE(IsCharacterDevice(node)) << node << " was replaced";
  }
  EXPECT_EQ(TemporaryFilesIn(dir), 0);
}

TEST(NonRegularOutputs, AFifoIsWrittenForItsReaderAndASocketIsRefused) {
  const std::string dir = TestFolder("fifos");
  const std::string preset = dir + "/look.json", image = dir + "/out.png";
  ASSERT_EQ(::mkfifo(preset.c_str(), 0644), 0);
  ASSERT_EQ(::mkfifo(image.c_str(), 0644), 0);
  {
    FifoReader reader(preset);
    const CliResult run = RunCli({"--param", "Exposure=2", "--save-preset", preset});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(reader.Bytes().find("Exposure\": \"2\""), std::string::npos) << reader.Bytes();
  }
  {
    FifoReader reader(image);
    const CliResult run = RunCli(Quick({kDemo, image}));
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(reader.Bytes().substr(0, 4), "\x89PNG");
  }
  EXPECT_TRUE(IsFifo(preset));
  EXPECT_TRUE(IsFifo(image));
  const std::string socketPath = dir + "/socket.json";
  const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  const CliResult run = RunCli({"--save-preset", socketPath});
  ::close(server);
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_NE(run.err.find("it is a socket"), std::string::npos) << run.err;
  EXPECT_TRUE(fs::is_socket(socketPath));
  EXPECT_EQ(TemporaryFilesIn(dir), 0);
}

TEST(BoundedReads, StreamsAreReadNoFurtherThanTheLimitAndImagesOnlyFromFiles) {
  const std::string dir = TestFolder("streams");
  const struct {
    std::vector<std::string> args;
    int code;
    std::string says;
  } cases[] = {
      {{"--preset", "/dev/zero", kDemo, dir + "/out.png"}, 2, "too large for a preset"},
      {{"--preset", "/dev/urandom", "--save-preset", dir + "/p.json"}, 2, "too large"},
      {{"/dev/zero", dir + "/out.png"}, 1, "\"/dev/zero\": not a regular file"},
  };
  for (const auto& c : cases) {
    const CliResult run = RunCli(c.args);
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_TRUE(OneLine(run.err)) << run.err;
    EXPECT_LT(run.seconds, 20.0);
    EXPECT_LT(run.peakKilobytes, kSmallPeakKilobytes);
  }
  testing::CliProcessOptions options;
  options.builtModule = false;
  const CliResult module = RunCli({"--module", "/dev/zero", "--info"}, options);
  EXPECT_EQ(module.code, 1) << module.err;
  EXPECT_NE(module.err.find("'/dev/zero': not a regular file"), std::string::npos) << module.err;
  EXPECT_LT(module.peakKilobytes, kSmallPeakKilobytes);
}

// True once the process catches `signal`: its main has begun (a signal that comes while the
// dynamic loader still runs ends it the default way, before any of the tool's code).
bool Catches(pid_t pid, int signal) {
  const std::string status = testing::FileBytes("/proc/" + std::to_string(pid) + "/status");
  const size_t at = status.find("SigCgt:\t");
  if (at == std::string::npos) return false;
  const unsigned long long mask = std::stoull(status.substr(at + 8, 16), nullptr, 16);
  return (mask >> (signal - 1)) & 1;
}

// Starts the tool, sends `signal` `delayMs` after its main began, and waits for it (30 s
// at most); no temporary file may be left.
CliResult StopAfter(const std::vector<std::string>& args, int signal, int delayMs,
                    const std::string& dir) {
  const std::string err = dir + "/stderr.txt";
  const pid_t pid = testing::StartCli(args, err);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!Catches(pid, signal) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
  EXPECT_EQ(kill(pid, signal), 0);
  const CliResult run = testing::WaitCli(pid, err, 30);
  EXPECT_EQ(TemporaryFilesIn(dir), 0);
  return run;
}

TEST(SignalsAtAnyTime, AFifoWithoutAWriterOrAReaderDoesNotOutliveTheSignal) {
  const std::string dir = TestFolder("fifo_signals");
  const std::string fifo = dir + "/look.json";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  for (const int signal : {SIGINT, SIGTERM}) {
    const std::string name = signal == SIGINT ? "SIGINT" : "SIGTERM";
    CliResult run = StopAfter({"--preset", fifo, kDemo, dir + "/out.png"}, signal, 1000, dir);
    EXPECT_EQ(run.code, 128 + signal) << run.err;
    EXPECT_NE(run.err.find("stopped by " + name + " before anything was written"),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(OneLine(run.err)) << run.err;
    run = StopAfter({"--save-preset", fifo}, signal, 1000, dir);
    EXPECT_EQ(run.code, 128 + signal) << run.err;
    EXPECT_NE(run.err.find("stopped by " + name), std::string::npos) << run.err;
    EXPECT_TRUE(OneLine(run.err)) << run.err;
    EXPECT_LT(run.seconds, 10.0);
    EXPECT_TRUE(IsFifo(fifo));
  }
  EXPECT_FALSE(fs::exists(dir + "/out.png"));
}

TEST(SignalsAtAnyTime, ASignalDuringStartUpEndsTheCommandWithALine) {
  const std::string dir = TestFolder("startup_signals");
  // From option parsing through module loading, GL set-up and reading the input: whatever
  // the tool is doing, it ends with 143 and says what it left.
  for (const int delayMs : {0, 5, 20, 60, 150}) {
    const CliResult run = StopAfter(
        Quick({"--save-preset", dir + "/p.json", kDemo, dir + "/out.png"}), SIGTERM, delayMs, dir);
    if (run.code == 0) continue;  // done before the signal came
    EXPECT_EQ(run.code, 143) << delayMs << " ms: " << run.err;
    EXPECT_NE(run.err.find("stopped by SIGTERM"), std::string::npos) << run.err;
    EXPECT_TRUE(OneLine(run.err)) << run.err;
  }
}

}  // namespace
}  // namespace solvane::cli
