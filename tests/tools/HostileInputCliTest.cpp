// Inputs a hostile but fair user might hand solvane-render: files cut short, headers that
// declare far more than the file holds, presets nested without end or malformed, frame
// numbers past any range, folders where files belong. Each is refused at once, in one
// line that names the file and the reason, without the work or memory it asks for.
#include <gtest/gtest.h>

#include <OpenImageIO/imageio.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/tools/CliProcess.h"
#include "tools/render/ImageIO.h"
#include "tools/render/SequencePlan.h"

namespace solvane::cli {
namespace {

// "At once": the bound tells a refusal from the unbounded work these inputs caused before
// (minutes, or memory until the allocator gave up), not a speed; under a sanitizer on a
// busy machine starting the tool and loading the module alone take seconds.
constexpr double kPromptSeconds = 20.0;

namespace fs = std::filesystem;
using testing::CliResult;
using testing::FileBytes;
using testing::RunCli;
using testing::TestFolder;

const std::string kDemo = std::string(SOLVANE_SOURCE_DIR) + "/assets/demo/skyline.png";
// Well above the tool's own footprint, well below what the refused work would take.
constexpr long kSmallPeakKilobytes = 600 * 1024;

bool OneLine(const std::string& text) {
  return text.find('\n') == text.size() - 1;
}

void WritePicture(const std::string& path, int width, int height) {
  auto out = OIIO::ImageOutput::create(path);
  ASSERT_TRUE(out);
  OIIO::ImageSpec spec(width, height, 4, OIIO::TypeDesc::UINT8);
  ASSERT_TRUE(out->open(path, spec));
  std::vector<float> pixels(size_t(width) * height * 4);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = float((i * 37) % 251) / 255.0f;
  ASSERT_TRUE(out->write_image(OIIO::TypeDesc::FLOAT, pixels.data()));
  ASSERT_TRUE(out->close());
}

void CutToHalf(const std::string& path) {
  fs::resize_file(path, fs::file_size(path) / 2);
}

uint32_t Crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : bytes) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string BigEndian(uint32_t v) {
  return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string Chunk(const std::string& type, const std::string& data) {
  return BigEndian(uint32_t(data.size())) + type + data + BigEndian(Crc32(type + data));
}

// A PNG header declaring width x height RGBA pixels, with one empty data chunk.
void WriteDeclaringPng(const std::string& path, uint32_t width, uint32_t height) {
  const std::string header =
      BigEndian(width) + BigEndian(height) + std::string("\x08\x06\0\0\0", 5);
  std::ofstream(path, std::ios::binary)
      << std::string("\x89PNG\r\n\x1a\n", 8) << Chunk("IHDR", header)
      << Chunk("IDAT", std::string("\x78\x9c\x03\x00\x00\x00\x00\x01", 8)) << Chunk("IEND", "");
}

TEST(HostileInput, TruncatedTiffJpegAndPngAreRefused) {
  const std::string dir = TestFolder("truncated");
  // A cut-short PNG is refused before OpenImageIO decodes it, whose PNG reader would leak
  // its error message there (the leak checker would stop the tool).
  for (const std::string name : {"cut.tif", "cut.jpg", "cut.png"}) {
    const std::string path = dir + "/" + name;
    WritePicture(path, 96, 64);
    CutToHalf(path);
    const CliResult run = RunCli({"--quiet", path, dir + "/out.png"});
    EXPECT_EQ(run.code, 1) << name << ": " << run.err;
    EXPECT_NE(run.err.find("cannot read \"" + path + "\""), std::string::npos) << run.err;
    // Where a decoder prints a line of its own first, the tool's line is the last.
    EXPECT_TRUE(OneLine(run.err.substr(run.err.find("solvane-render:")))) << run.err;
    EXPECT_FALSE(fs::exists(dir + "/out.png"));
  }
}

TEST(HostileInput, EveryFrameIsCheckedFirstAndAFailureMidSequenceKeepsTheFramesWritten) {
  const std::string dir = TestFolder("frames");
  for (int n = 1; n <= 4; ++n) WritePicture(dir + "/in_" + std::to_string(n) + ".tif", 48, 32);
  WritePicture(dir + "/in_9.tif", 40, 32);
  const std::vector<std::string> quick = {"--quiet", "--param", "Quality/Quality=Draft"};
  // A frame of another size is found before anything renders.
  std::vector<std::string> args = quick;
  args.insert(args.end(), {"--frames", "3-9", dir + "/in_#.tif", dir + "/out_#.png"});
  fs::copy_file(dir + "/in_4.tif", dir + "/in_5.tif");
  for (int n = 6; n <= 8; ++n)
    fs::copy_file(dir + "/in_4.tif", dir + "/in_" + std::to_string(n) + ".tif");
  CliResult run = RunCli(args);
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_NE(run.err.find("in_9.tif\" is 40x32, the sequence's first frame 48x32"),
            std::string::npos)
      << run.err;
  EXPECT_FALSE(fs::exists(dir + "/out_3.png"));
  // A frame whose header reads but whose pixels are cut short fails when it is read; the
  // frames before it are written, and the message says how many.
  CutToHalf(dir + "/in_3.tif");
  args = quick;
  args.insert(args.end(), {"--frames", "1-4", dir + "/in_#.tif", dir + "/out_#.png"});
  run = RunCli(args);
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_NE(run.err.find("in_3.tif"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("2 of 4 frames written"), std::string::npos) << run.err;
  EXPECT_TRUE(OneLine(run.err)) << run.err;
  EXPECT_TRUE(fs::exists(dir + "/out_1.png"));
  EXPECT_TRUE(fs::exists(dir + "/out_2.png"));
  EXPECT_FALSE(fs::exists(dir + "/out_3.png"));
}

TEST(HostileInput, ATinyFileDeclaringAHugePictureIsRefusedBeforeAllocating) {
  const std::string dir = TestFolder("huge_header");
  const std::string png = dir + "/huge.png";
  WriteDeclaringPng(png, 16384, 16384);
  ASSERT_LT(fs::file_size(png), 200u);
  CliResult run = RunCli({png, dir + "/out.png"});
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_NE(run.err.find("declares 16384x16384 pixels but holds only"), std::string::npos)
      << run.err;
  EXPECT_LT(run.peakKilobytes, kSmallPeakKilobytes);
  WriteDeclaringPng(png, 40000, 8);
  run = RunCli({png, dir + "/out.png"});
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_NE(run.err.find("GL texture size limit"), std::string::npos) << run.err;
}

TEST(HostileInput, AnExrAttributeLargerThanTheFileIsRefusedBeforeTheLibraryAllocatesIt) {
  const std::string dir = TestFolder("exr_attribute");
  const std::string good = dir + "/good.exr";
  WritePicture(good, 8, 6);
  EXPECT_NO_THROW(CheckExrAttributeSizes(good));
  std::string bytes = FileBytes(good);
  const std::string attribute("channels\0chlist\0", 16);
  const size_t at = bytes.find(attribute);
  ASSERT_NE(at, std::string::npos);
  bytes.replace(at + attribute.size(), 4, "\xff\xff\xff\x7f");
  const std::string bad = dir + "/bad.exr";
  std::ofstream(bad, std::ios::binary) << bytes;
  try {
    CheckExrAttributeSizes(bad);
    ADD_FAILURE() << "a 2 GiB attribute in a small file was let through";
  } catch (const ImageError& e) {
    EXPECT_NE(std::string(e.what()).find("attribute \"channels\" declares 2147483647 bytes"),
              std::string::npos)
        << e.what();
  }
  // A data window far wider than any texture is refused before OpenEXR sizes buffers by it.
  std::string wide = FileBytes(good);
  const std::string window("dataWindow\0box2i\0\x10\0\0\0", 21);
  const size_t box = wide.find(window);
  ASSERT_NE(box, std::string::npos);
  wide.replace(box + window.size() + 8, 4, "\x07\x00\xf7\x00");
  std::ofstream(dir + "/wide.exr", std::ios::binary) << wide;
  EXPECT_THROW(CheckExrAttributeSizes(dir + "/wide.exr"), ImageError);
  const CliResult run = RunCli({bad, dir + "/out.png"});
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_NE(run.err.find("bad.exr\": its header attribute"), std::string::npos) << run.err;
  EXPECT_LT(run.peakKilobytes, kSmallPeakKilobytes);
  EXPECT_LT(run.seconds, kPromptSeconds);
}

TEST(HostileInput, APngChunkLargerThanTheFileIsRefusedBeforeLibpngAllocatesIt) {
  const std::string dir = TestFolder("png_chunk");
  const std::string good = dir + "/good.png";
  WritePicture(good, 8, 6);
  EXPECT_NO_THROW(CheckPngChunks(good));
  std::string bytes = FileBytes(good);
  // After the signature and IHDR: a text chunk that says it holds 1.2 GB.
  bytes.insert(33, BigEndian(1229209940) + "tEXt" + std::string("Comment\0x", 9));
  const std::string bad = dir + "/bad.png";
  std::ofstream(bad, std::ios::binary) << bytes;
  EXPECT_THROW(CheckPngChunks(bad), ImageError);
  const CliResult run = RunCli({bad, dir + "/out.png"});
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_NE(run.err.find("bad.png\": its tEXt chunk declares 1229209940 bytes"), std::string::npos)
      << run.err;
  EXPECT_LT(run.peakKilobytes, kSmallPeakKilobytes);
  EXPECT_LT(run.seconds, kPromptSeconds);
}

TEST(HostileInput, AFrameBeyondTheGlTextureLimitIsRefusedFromItsHeader) {
  const std::string dir = TestFolder("texture_limit");
  const std::string wide = dir + "/wide.png";
  WritePicture(wide, 20000, 1);
  const CliResult run = RunCli({"--param", "Quality/Quality=Draft", wide, dir + "/out.png"});
  if (run.code == 0) GTEST_SKIP() << "this GPU makes textures 20000 pixels wide";
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_NE(run.err.find("a 20000x1 frame does not fit the GPU ("), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("pixels a side)"), std::string::npos) << run.err;
  EXPECT_TRUE(OneLine(run.err)) << run.err;
}

TEST(HostileInput, DeclaredSizesAreHeldToWhatTheFileCanHold) {
  EXPECT_NO_THROW(CheckDeclaredSize("a", 1920, 1080, 1920 * 1080 * 4, 100));  // small: allowed
  EXPECT_NO_THROW(CheckDeclaredSize("a", 16384, 16384, int64_t(16384) * 16384 * 4, 1 << 20));
  EXPECT_THROW(CheckDeclaredSize("a", 16384, 16384, int64_t(16384) * 16384 * 4, 156), ImageError);
  EXPECT_THROW(CheckDeclaredSize("a", 32769, 1, 32769 * 4, 1 << 20), ImageError);
  EXPECT_THROW(CheckDeclaredSize("a", 20000, 20000, 1, 1 << 30), ImageError);  // 2^28 pixels
  EXPECT_THROW(CheckDeclaredSize("a", 0, 10, 0, 10), ImageError);
}

TEST(HostileInput, HugeFrameRangesAndNumbersAreRefusedAtOnce) {
  const std::string dir = TestFolder("ranges");
  const std::string out = dir + "/f_####.png";
  const std::string digits309(309, '9');
  const struct {
    std::vector<std::string> args;
    std::string says;
  } cases[] = {
      {{"--frames", "0-999999999", kDemo, out}, "time range"},
      {{"--frames", "0-" + digits309, kDemo, out}, "beyond the host's time range"},
      {{"--frames", "1-3", kDemo, dir + "/f_%99999999999d.png"}, "too large"},
      {{"--frames", "1-3", "--key", "Exposure@99999999999=1", kDemo, out}, "time range"},
  };
  for (const auto& c : cases) {
    const CliResult run = RunCli(c.args);
    EXPECT_EQ(run.code, 2) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_TRUE(OneLine(run.err)) << run.err;
    EXPECT_LT(run.err.size(), 200u) << run.err;
    EXPECT_LT(run.seconds, kPromptSeconds);
    EXPECT_LT(run.peakKilobytes, kSmallPeakKilobytes);
  }
  // A control index past any range is named as written, not as a wrapped number.
  const CliResult index = RunCli({"--param", "99999999999=1", "--save-preset", dir + "/p.json"});
  EXPECT_EQ(index.code, 1) << index.err;
  EXPECT_NE(index.err.find("no control at index 99999999999"), std::string::npos) << index.err;
}

TEST(HostileInput, PresetsAreBoundedAndTheirErrorsSayWhere) {
  const std::string dir = TestFolder("presets");
  const std::string deep = dir + "/deep.json";
  {
    std::ofstream file(deep);
    file << R"({"controls": )";
    for (int i = 0; i < 100000; ++i) file << R"({"a": )";
    file << 1;
    for (int i = 0; i < 100000; ++i) file << '}';
    file << '}';
  }
  const std::string broken = dir + "/broken.json";
  std::ofstream(broken) << "{\n  \"controls\": {\n    \"Length\": 300,\n  }\n}\n";
  const std::string wraps = dir + "/wraps.json";
  std::ofstream(wraps) << R"({"keys": [{"control": "Exposure", "frame": 4294967297, "value": 2}]})";
  const std::string overflow = dir + "/overflow.json";
  std::ofstream(overflow) << R"({"controls": {"Length": 1e400}})";
  const std::string large = dir + "/large.json";
  std::ofstream(large) << R"({"controls": {"Length": ")" << std::string(2 << 20, '1') << "\"}}";
  fs::create_directory(dir + "/folder.json");
  const struct {
    std::string preset;
    std::string says;
  } cases[] = {
      {deep, "nested deeper than 16 levels"},
      {broken, "line 4, column 3"},
      {wraps, "frame 4294967297, beyond the host's time range"},
      {overflow, "number overflow parsing '1e400'"},
      {large, "too large for a preset"},
      {dir + "/folder.json", "is a directory"},
  };
  for (const auto& c : cases) {
    const CliResult run = RunCli({"--preset", c.preset, "--save-preset", dir + "/out.json"});
    EXPECT_EQ(run.code, 2) << c.preset << ": " << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(c.preset), std::string::npos) << run.err;
    EXPECT_TRUE(OneLine(run.err)) << run.err;
    EXPECT_LT(run.seconds, kPromptSeconds);
  }
  EXPECT_FALSE(fs::exists(dir + "/out.json"));
}

TEST(HostileInput, FoldersWhereFilesBelongAreNamedAsFolders) {
  const std::string dir = TestFolder("folders");
  fs::create_directory(dir + "/in.png");
  fs::create_directory(dir + "/out.png");
  CliResult run = RunCli({dir + "/in.png", dir + "/x.png"});
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_NE(run.err.find("in.png\": is a directory"), std::string::npos) << run.err;
  run = RunCli({kDemo, dir + "/out.png"});
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_NE(run.err.find("out.png\": is a directory"), std::string::npos) << run.err;
  EXPECT_TRUE(fs::is_directory(dir + "/out.png"));
}

TEST(HostileInput, EveryMessageIsOneLineNamingTheFileOrOptionWithTheGuidesExitCode) {
  const std::string dir = TestFolder("messages");
  std::ofstream(dir + "/overflow.json") << "{\"controls\": {\n  \"Exposure\": 1e400}}";
  fs::create_directory(dir + "/folder.so");
  fs::create_symlink(dir + "/loop_b.png", dir + "/loop_a.png");
  fs::create_symlink(dir + "/loop_a.png", dir + "/loop_b.png");
  std::string elf32(64, '\0');
  elf32.replace(0, 6,
                "\x7f"
                "ELF\x01\x01");
  std::ofstream(dir + "/elf32.so", std::ios::binary) << elf32;
  const std::string out = dir + "/out.png";
  const struct {
    std::vector<std::string> args;
    int code;
    std::string says;
    bool builtModule = true;
  } cases[] = {
      {{"--preset", dir + "/overflow.json", "--save-preset", dir + "/p.json"},
       2,
       "overflow.json\": line 2, column 15: number overflow parsing '1e400'"},
      {{"--preset", kDemo, "--save-preset", dir + "/p.json"}, 2, "'\\x89'"},
      {{"--module", dir + "/folder.so", "--info"}, 1, "folder.so': is a directory", false},
      {{"--module", dir + "/elf32.so", "--info"}, 1, "is a 32-bit ELF module", false},
      {{dir + "/loop_a.png", out}, 1, "loop_a.png\": Too many levels of symbolic links"},
      {{"--downsample", "0", kDemo, out}, 2, "--downsample must be 1 or more, not 0"},
      {{"--info", kDemo, out}, 2, "--info prints and renders nothing"},
      {{"--background", "", kDemo, out}, 2, "--background wants black, white, grey or R,G,B"},
  };
  for (const auto& c : cases) {
    testing::CliProcessOptions options;
    options.builtModule = c.builtModule;
    const CliResult run = RunCli(c.args, options);
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_TRUE(OneLine(run.err)) << run.err;
    EXPECT_LT(run.err.size(), 300u) << run.err;
    EXPECT_EQ(run.err.find('\x89'), std::string::npos) << "a raw byte in the message";
  }
  EXPECT_FALSE(fs::exists(out));
  // "%%d" is printf's percent sign and a "d", not a frame number: the still is written.
  const std::string percent = dir + "/grade_100%%d.png";
  const CliResult run =
      RunCli({"--quiet", "--downsample", "8", "--param", "Quality/Quality=Draft", kDemo, percent});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(fs::exists(percent));
}

TEST(HostileInput, SameFileSeesThroughDotsAndLinks) {
  const std::string dir = TestFolder("same_file");
  std::ofstream(dir + "/a.png") << "a";
  fs::create_symlink(dir + "/a.png", dir + "/link.png");
  EXPECT_TRUE(SameFile(dir + "/a.png", dir + "/sub/../a.png"));
  EXPECT_TRUE(SameFile(dir + "/a.png", dir + "/link.png"));
  EXPECT_FALSE(SameFile(dir + "/a.png", dir + "/b.png"));
}

}  // namespace
}  // namespace solvane::cli
