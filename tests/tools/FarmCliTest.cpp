// Sequences split over render-farm tasks: --chunk shares, frames that do not depend on
// the split, the order or the thread count, and --skip-existing finishing a killed run.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "tests/tools/CliProcess.h"
#include "tools/render/FrameChunk.h"
#include "tools/render/ParamAssignment.h"

namespace solvane::cli {
namespace {

namespace fs = std::filesystem;
using testing::FileBytes;
using testing::RunCli;
using testing::TestFolder;

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

const std::string kDemo = std::string(SOLVANE_SOURCE_DIR) + "/assets/demo/skyline.png";
// Noise and keyframes on several controls: a frame that took anything from its neighbours,
// its thread or its place in the run would show it.
const std::vector<std::string> kAnimated = Words(
    "--quiet --downsample 4 --param Quality/Quality=Custom --param Samples=12 --param Noise=60 "
    "--key Position@0=40,60 --key Position@11=440,200 --key Exposure@0=1 --key Exposure@11=4");

std::vector<std::string> Args(std::vector<std::string> head, const std::vector<std::string>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

std::string FrameName(const std::string& dir, int frame) {
  char name[32];
  std::snprintf(name, sizeof name, "/f_%04d.png", frame);
  return dir + name;
}

TEST(FrameChunk, SharesCoverTheRangeOnceInOrderAndNearEqually) {
  for (const FrameRange range : {FrameRange{0, 9}, FrameRange{1, 48}, FrameRange{5, 5}}) {
    for (int n = 1; n <= 12; ++n) {
      int next = range.first, shortest = range.Count(), longest = 0;
      for (int k = 0; k < n; ++k) {
        const FrameRange share = ChunkOf(range, {k, n});
        EXPECT_EQ(share.first, next) << range.first << "-" << range.last << " " << k << "/" << n;
        next = share.last + 1;
        shortest = std::min(shortest, share.Count());
        longest = std::max(longest, share.Count());
      }
      EXPECT_EQ(next, range.last + 1) << n;
      EXPECT_LE(longest - shortest, 1) << n;
    }
  }
  // The host's longest range in many shares: no overflow on the way.
  const FrameRange last = ChunkOf({0, 2147483}, {999999, 1000000});
  EXPECT_EQ(last.first, 2147481);
  EXPECT_EQ(last.last, 2147483);
}

TEST(FrameChunk, OnlyKOfNCountedFromZeroIsTaken) {
  EXPECT_EQ(ParseFrameChunk("0/4").index, 0);
  EXPECT_EQ(ParseFrameChunk("3/4").index, 3);
  EXPECT_EQ(ParseFrameChunk("3/4").count, 4);
  const std::map<std::string, std::string> refused = {{"4/4", "0 to 3"},
                                                      {"0/0", "N must be 1 or more"},
                                                      {"/4", "K is missing"},
                                                      {"1/", "K/N"},
                                                      {"-1/4", "K/N"},
                                                      {"1-4", "K/N"},
                                                      {"a/b", "K/N"},
                                                      {"1/4/2", "K/N"},
                                                      {"99999999999/4", "K/N"},
                                                      {" 1/4", "K/N"},
                                                      {"", "K/N"}};
  for (const auto& [text, says] : refused) {
    try {
      ParseFrameChunk(text);
      ADD_FAILURE() << text << " was taken";
    } catch (const OptionError& e) {
      EXPECT_NE(std::string(e.what()).find(says), std::string::npos) << text << ": " << e.what();
    }
  }
}

TEST(FarmCli, ChunkMistakesAreRefusedInOneLineAndAnEmptyShareIsNoFailure) {
  const std::string dir = TestFolder("farm_errors");
  const std::string out = dir + "/f_####.png";
  const struct {
    std::vector<std::string> args;
    int code;
    std::string says;
  } cases[] = {
      {{"--chunk", "1/4", kDemo, dir + "/still.png"}, 2, "give it with --frames A-B"},
      {{"--chunk", "4/4", "--frames", "0-9", kDemo, out}, 2, "K counts from 0, so it is 0 to 3"},
      {{"--chunk", "0/0", "--frames", "0-9", kDemo, out}, 2, "N must be 1 or more"},
      // One frame per share still means ten frames to one name.
      {{"--chunk", "3/10", "--frames", "0-9", kDemo, dir + "/one.png"}, 2, "OUTPUT needs ####"},
      {{"--chunk", "0/12", "--frames", "0-9", kDemo, out},
       0,
       "chunk 0/12 of frames 0-9 holds no frame: nothing to render"},
  };
  for (const auto& c : cases) {
    const testing::CliResult run = RunCli(Args({"--quiet"}, c.args));
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  }
  EXPECT_TRUE(fs::is_empty(dir));
}

// Renders frames 0-11 in `chunks` shares, all at once and started last share first, as a
// farm may run them.
void RenderInChunks(const std::string& dir, int chunks, int threads) {
  struct Task {
    pid_t pid;
    std::string err;
    std::string says;  // the share the task reports it rendered, all of it
  };
  std::vector<Task> tasks;
  for (int k = chunks - 1; k >= 0; --k) {
    const std::string err = dir + "/task-" + std::to_string(k) + ".txt";
    const std::string chunk = std::to_string(k) + "/" + std::to_string(chunks);
    const std::string frames = std::to_string(ChunkOf({0, 11}, {k, chunks}).Count());
    const pid_t pid =
        testing::StartCli(Args(kAnimated, {"--threads", std::to_string(threads), "--frames", "0-11",
                                           "--chunk", chunk, kDemo, dir + "/f_####.png"}),
                          err);
    tasks.push_back(
        {pid, err, "(chunk " + chunk + " of frames 0-11): " + frames + " of " + frames});
  }
  for (const Task& task : tasks) {
    const testing::CliResult run = testing::WaitCli(task.pid, task.err);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find(task.says), std::string::npos) << run.err;
  }
}

TEST(FarmCli, FramesAreTheSameWhateverTheChunksOrderAndThreads) {
  const std::string reference = TestFolder("farm_reference");
  ASSERT_EQ(RunCli(Args(kAnimated, {"--frames", "0-11", kDemo, reference + "/f_####.png"})).code,
            0);
  for (const int threads : {1, 3}) {
    for (const int chunks : {1, 2, 5}) {
      const std::string dir =
          TestFolder("farm_" + std::to_string(chunks) + "x" + std::to_string(threads));
      RenderInChunks(dir, chunks, threads);
      for (int n = 0; n <= 11; ++n) {
        EXPECT_EQ(FileBytes(FrameName(dir, n)), FileBytes(FrameName(reference, n)))
            << chunks << " chunks, " << threads << " threads, frame " << n;
      }
    }
  }
  EXPECT_NE(FileBytes(FrameName(reference, 0)), FileBytes(FrameName(reference, 1)));
}

int FramesIn(const std::string& dir) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    count += entry.path().filename().string().rfind("f_", 0) == 0;
  }
  return count;
}

ino_t Inode(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST(FarmCli, AKilledRunRunAgainRendersOnlyTheMissingAndDamagedFrames) {
  constexpr int kFrames = 60;
  const std::string reference = TestFolder("resume_reference");
  const std::string dir = TestFolder("resume");
  const std::vector<std::string> args =
      Args(kAnimated, {"--threads", "2", "--skip-existing", "--frames", "1-60", kDemo});
  ASSERT_EQ(RunCli(Args(args, {reference + "/f_####.png"})).code, 0);

  // Killed outright, as a farm node that dies, once a few frames are on disk.
  const pid_t pid = testing::StartCli(Args(args, {dir + "/f_####.png"}), dir + "/killed.txt");
  ASSERT_GT(pid, 0);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (FramesIn(dir) < 4 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  kill(pid, SIGKILL);
  testing::WaitCli(pid, dir + "/killed.txt");
  const int left = FramesIn(dir);
  ASSERT_GE(left, 4);
  ASSERT_LT(left, kFrames) << "the run ended before it could be killed";

  // The last frame left is cut short and the final frame's name holds something unreadable:
  // both are rendered again; every other frame left stays the file it is.
  fs::resize_file(FrameName(dir, left), fs::file_size(FrameName(dir, left)) / 2);
  std::ofstream(FrameName(dir, kFrames)) << "not a picture";
  std::map<int, ino_t> kept;
  for (int n = 1; n < left; ++n) kept[n] = Inode(FrameName(dir, n));

  const testing::CliResult again = RunCli(Args(args, {dir + "/f_####.png"}));
  ASSERT_EQ(again.code, 0) << again.err;
  const int skipped = left - 1;
  EXPECT_NE(again.err.find("frames 1-60: " + std::to_string(kFrames - skipped) +
                           " of 60 frames written, " + std::to_string(skipped) +
                           " skipped (already whole)"),
            std::string::npos)
      << again.err;
  for (const auto& [n, inode] : kept) EXPECT_EQ(Inode(FrameName(dir, n)), inode) << n;
  for (int n = 1; n <= kFrames; ++n) {
    EXPECT_EQ(FileBytes(FrameName(dir, n)), FileBytes(FrameName(reference, n))) << n;
  }

  const testing::CliResult done = RunCli(Args(args, {dir + "/f_####.png"}));
  EXPECT_EQ(done.code, 0) << done.err;
  EXPECT_NE(done.err.find("0 of 60 frames written, 60 skipped"), std::string::npos) << done.err;
}

}  // namespace
}  // namespace solvane::cli
