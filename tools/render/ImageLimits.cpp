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

bool IsPng(std::ifstream& file) {
  char signature[8] = {};
  return file.read(signature, 8) && std::memcmp(signature, "\x89PNG\r\n\x1a\n", 8) == 0;
}

uint32_t BigEndian(const unsigned char* b) {
  return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
}

}  // namespace

void CheckPngComplete(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file || !IsPng(file)) return;
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return;
  // Chunk headers only: each is length, type, data and a CRC, up to IEND.
  for (uintmax_t at = 8; at + 12 <= size;) {
    unsigned char header[8] = {};
    file.seekg(std::streamoff(at));
    if (!file.read(reinterpret_cast<char*>(header), 8)) break;
    at += 12 + uintmax_t(BigEndian(header));
    if (at > size) break;
    if (std::memcmp(header + 4, "IEND", 4) == 0) return;
  }
  throw ImageError("cannot read " + Quoted(path) + ": the PNG file is cut short (it ends before " +
                   "its IEND chunk)");
}

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
