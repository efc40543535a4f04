#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "tools/render/ImageIO.h"
#include "tools/render/Quoted.h"

namespace solvane::cli {
namespace {

// GL_MAX_TEXTURE_SIZE of the largest GPUs; the effect keeps each picture in one texture.
constexpr int64_t kMaxTextureSide = 32768;
constexpr int64_t kMaxPixels = int64_t(1) << 28;
// The best compression any supported codec reaches on a flat picture is about 1000:1
// (deflate's limit is 1032:1); the allowance keeps small pictures clear of the ratio.
constexpr int64_t kMaxCompression = 4096;
constexpr int64_t kSmallPictureBytes = int64_t(64) << 20;

constexpr char kExrMagic[] = "\x76\x2f\x31\x01";
constexpr uint32_t kExrMultipart = 0x1000;  // version flag: several headers follow
// Attribute and type names are at most 255 characters (with long names on).
constexpr int kExrNameLimit = 256;

// A zero-terminated name; false at the end of the file or past the longest name.
bool ReadExrName(std::istream& in, std::string& name) {
  name.clear();
  for (char c; in.get(c);) {
    if (c == '\0') return true;
    if (name.size() == kExrNameLimit) return false;
    name.push_back(c);
  }
  return false;
}

// Walks one header's attributes up to its terminating empty name. False when the header
// ends early or cannot be read: the library reports those in its own words.
bool CheckExrHeader(std::istream& in, const std::string& path, uint64_t fileBytes, bool& empty) {
  std::string name, type;
  empty = true;
  while (ReadExrName(in, name)) {
    if (name.empty()) return true;
    empty = false;
    char sizeBytes[4];
    if (!ReadExrName(in, type) || !in.read(sizeBytes, 4)) return false;
    const int32_t size =
        int32_t(uint32_t(uint8_t(sizeBytes[0])) | uint32_t(uint8_t(sizeBytes[1])) << 8 |
                uint32_t(uint8_t(sizeBytes[2])) << 16 | uint32_t(uint8_t(sizeBytes[3])) << 24);
    const std::streamoff at = in.tellg();
    if (size < 0 || at < 0 || uint64_t(size) > fileBytes - uint64_t(at)) {
      throw ImageError("cannot read " + Quoted(path) + ": its header attribute \"" + name +
                       "\" declares " + std::to_string(size) + " bytes but the file holds only " +
                       std::to_string(fileBytes) + " (the file is damaged)");
    }
    if (name == "dataWindow" && type == "box2i" && size == 16) {
      // OpenEXR sizes its line buffers by the data window while opening: checked first.
      char box[16];
      if (!in.read(box, 16)) return false;
      int32_t xMin, yMin, xMax, yMax;
      std::memcpy(&xMin, box, 4), std::memcpy(&yMin, box + 4, 4);
      std::memcpy(&xMax, box + 8, 4), std::memcpy(&yMax, box + 12, 4);
      CheckDeclaredSize(path, int64_t(xMax) - xMin + 1, int64_t(yMax) - yMin + 1, 0, fileBytes);
      continue;
    }
    in.seekg(size, std::ios::cur);
  }
  return false;
}

constexpr char kPngMagic[] = "\x89PNG\r\n\x1a\n";

uint32_t BigEndian32(const char* b) {
  return uint32_t(uint8_t(b[0])) << 24 | uint32_t(uint8_t(b[1])) << 16 |
         uint32_t(uint8_t(b[2])) << 8 | uint32_t(uint8_t(b[3]));
}

}  // namespace

void CheckDeclaredSize(const std::string& path, int64_t width, int64_t height, int64_t decodedBytes,
                       uint64_t fileBytes) {
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  if (width <= 0 || height <= 0) {
    throw ImageError("cannot read " + Quoted(path) + ": unsupported size " + size);
  }
  if (width > kMaxTextureSide || height > kMaxTextureSide) {
    throw ImageError("cannot read " + Quoted(path) + ": " + size + " is beyond the GL texture " +
                     "size limit (" + std::to_string(kMaxTextureSide) + " pixels a side)");
  }
  if (width * height > kMaxPixels) {
    throw ImageError("cannot read " + Quoted(path) + ": " + size + " is more than " +
                     std::to_string(kMaxPixels) + " pixels");
  }
  if (decodedBytes > kSmallPictureBytes && uint64_t(decodedBytes / kMaxCompression) > fileBytes) {
    throw ImageError("cannot read " + Quoted(path) + ": it declares " + size +
                     " pixels but holds only " + std::to_string(fileBytes) +
                     " bytes (the file is damaged)");
  }
}

void CheckExrAttributeSizes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char start[8];
  if (!in.read(start, 8) || std::memcmp(start, kExrMagic, 4) != 0) return;
  std::error_code error;
  const uintmax_t fileBytes = std::filesystem::file_size(path, error);
  if (error) return;
  const uint32_t flags = uint32_t(uint8_t(start[5])) << 8 | uint32_t(uint8_t(start[6])) << 16;
  bool empty = false;
  // A multi-part file's headers follow one another, the list ended by an empty header.
  do {
    if (!CheckExrHeader(in, path, uint64_t(fileBytes), empty)) return;
  } while ((flags & kExrMultipart) != 0 && !empty);
}

void CheckPngChunks(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char start[8];
  if (!in.read(start, 8) || std::memcmp(start, kPngMagic, 8) != 0) return;
  std::error_code error;
  const uintmax_t fileBytes = std::filesystem::file_size(path, error);
  if (error) return;
  // Each chunk: its length, its type, the data and a CRC, up to IEND.
  for (char head[8]; in.read(head, 8);) {
    const uint64_t length = BigEndian32(head);
    const std::streamoff at = in.tellg();
    if (at < 0) return;
    if (length + 4 > uint64_t(fileBytes) - uint64_t(at)) {
      std::string type(head + 4, 4);
      for (char& c : type) c = std::isalpha(static_cast<unsigned char>(c)) ? c : '?';
      throw ImageError("cannot read " + Quoted(path) + ": its " + type + " chunk declares " +
                       std::to_string(length) + " bytes but the file holds only " +
                       std::to_string(fileBytes) + " (the file is damaged)");
    }
    if (std::memcmp(head + 4, "IEND", 4) == 0) return;
    in.seekg(std::streamoff(length + 4), std::ios::cur);
  }
  throw ImageError("cannot read " + Quoted(path) + ": the PNG file is cut short (it ends before " +
                   "its IEND chunk)");
}

void CheckInputFile(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  const auto refuse = [&path](const std::string& reason) {
    throw ImageError("cannot read " + Quoted(path) + ": " + reason);
  };
  if (std::filesystem::is_directory(status)) refuse("is a directory");
  // A loop of links or a folder that cannot be searched says so, not "no such file".
  if (error && error != std::errc::no_such_file_or_directory) refuse(error.message());
  if (!std::filesystem::exists(status)) refuse("there is no such file");
  // Each input is read twice (its header while the frames are checked, then its pixels)
  // and its size bounds the work: a device or a FIFO can give neither.
  if (!std::filesystem::is_regular_file(status)) {
    refuse("not a regular file (images are read from files, not devices or FIFOs)");
  }
}

}  // namespace solvane::cli
