// Image files through the stb single-header libraries, for builds without OpenImageIO
// (the MinGW cross build: Debian has no OpenImageIO for Windows). It reads PNG (8- and
// 16-bit), JPEG, TGA, BMP and Radiance HDR, and writes PNG, TGA, BMP and JPEG, with the
// conventions and the exact conversions of the OpenImageIO build, so both builds turn the
// same file into the same world and the same world into the same file.
#define STBI_WINDOWS_UTF8
#define STBIW_WINDOWS_UTF8
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <memory>
#include <vector>

#include "tools/render/AtomicFile.h"
#include "tools/render/ImageIO.h"
#include "tools/render/PixelConversion.h"
#include "tools/render/Quoted.h"

namespace solvane::cli {
namespace {

// Paths are UTF-8, which std::filesystem takes as such only from char8_t strings.
std::filesystem::path FsPath(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

// The header, checked before any pixel is decoded.
ImageHeader ReadCheckedHeader(const std::string& path, int& channels) {
  CheckInputFile(path);
  int width = 0, height = 0;
  if (!stbi_info(path.c_str(), &width, &height, &channels)) {
    throw ImageError("cannot read " + Quoted(path) + ": " + stbi_failure_reason());
  }
  std::error_code error;
  const uintmax_t fileBytes = std::filesystem::file_size(FsPath(path), error);
  const int bytesPerChannel = stbi_is_16_bit(path.c_str()) ? 2 : 1;
  CheckDeclaredSize(path, width, height, int64_t(width) * height * channels * bytesPerChannel,
                    error ? 0 : uint64_t(fileBytes));
  return {width, height};
}

// The decoded file: channels interleaved as stored, on the 0-to-1 scale.
struct Decoded {
  int width = 0, height = 0, channels = 0;
  int bits = 8;  // 8, 16, or 32 for float files
  std::vector<float> values;
};

template <typename T>
void Take(T* data, size_t count, float scale, Decoded& d) {
  std::unique_ptr<T, void (*)(void*)> owner(data, stbi_image_free);
  d.values.resize(count);
  // Multiplying by the reciprocal, as OpenImageIO converts integer files.
  for (size_t i = 0; i < count; ++i) d.values[i] = float(data[i]) * scale;
}

Decoded Decode(const std::string& path) {
  Decoded d;
  const ImageHeader header = ReadCheckedHeader(path, d.channels);
  d.width = header.width;
  d.height = header.height;
  const size_t count = size_t(d.width) * d.height * d.channels;
  int w = 0, h = 0, n = 0;
  if (stbi_is_hdr(path.c_str())) {
    d.bits = 32;
    float* data = stbi_loadf(path.c_str(), &w, &h, &n, 0);
    if (data != nullptr) Take(data, count, 1.0f, d);
  } else if (stbi_is_16_bit(path.c_str())) {
    d.bits = 16;
    stbi_us* data = stbi_load_16(path.c_str(), &w, &h, &n, 0);
    if (data != nullptr) Take(data, count, 1.0f / 65535.0f, d);
  } else {
    stbi_uc* data = stbi_load(path.c_str(), &w, &h, &n, 0);
    if (data != nullptr) Take(data, count, 1.0f / 255.0f, d);
  }
  if (d.values.empty() || w != d.width || h != d.height || n != d.channels) {
    throw ImageError("cannot read " + Quoted(path) + ": " + stbi_failure_reason());
  }
  return d;
}

// stb's layouts: grey, grey + alpha, RGB, RGBA.
void StorePixel(host::World& world, A_long x, A_long y, const float* p, const Decoded& d) {
  const bool grey = d.channels < 3;
  const bool hasAlpha = d.channels == 2 || d.channels == 4;
  const float a = hasAlpha ? p[d.channels - 1] : 1.0f;
  const float r = p[0], g = grey ? p[0] : p[1], b = grey ? p[0] : p[2];
  // Every format stb reads is straight or has no alpha (Radiance HDR).
  StoreFilePixel(world, x, y, a, r, g, b, false);
}

}  // namespace

ImageHeader ReadImageHeader(const std::string& path) {
  int channels = 0;
  return ReadCheckedHeader(path, channels);
}

host::World ReadImage(const std::string& path, int depth) {
  const Decoded d = Decode(path);
  host::World world(d.width, d.height, depth != 0 ? depth : (d.bits == 32 ? 32 : 8));
  for (A_long y = 0; y < d.height; ++y) {
    for (A_long x = 0; x < d.width; ++x) {
      StorePixel(world, x, y, d.values.data() + (size_t(y) * d.width + x) * d.channels, d);
    }
  }
  return world;
}

namespace {

// One pixel in file order (red, green, blue[, alpha]) as bytes.
void FilePixel(const PF_PixelFloat& p, bool premultiplied, int channels, A_u_char* out) {
  const FileColour colour = ToFileColour(p, premultiplied);
  for (int c = 0; c < channels; ++c) {
    out[c] = A_u_char(std::lround(ClampToUnit(colour[c]) * 255.0f));
  }
}

std::string Extension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

// The file's extension when this build can write that format.
std::string WritableExtension(const std::string& path) {
  const std::string ext = Extension(path);
  if (ext != "png" && ext != "tga" && ext != "bmp" && ext != "jpg" && ext != "jpeg") {
    throw ImageError("cannot write " + path +
                     ": this build writes PNG, TGA, BMP and JPEG files (EXR and TIFF need the "
                     "OpenImageIO build)");
  }
  return ext;
}

// stb's encoders hand their output to a callback: here it is kept in memory.
void AppendBytes(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data), size_t(size));
}

}  // namespace

void CheckOutputPath(const std::string& path) {
  WritableExtension(path);
  std::error_code error;
  if (std::filesystem::is_directory(FsPath(path), error)) {
    throw ImageError("cannot write " + Quoted(path) + ": is a directory");
  }
  const std::filesystem::path folder = FsPath(path).parent_path();
  if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
    const std::u8string name = folder.u8string();
    throw ImageError("cannot write " + path + ": the folder " +
                     std::string(name.begin(), name.end()) + " does not exist");
  }
}

// Windows are an EXR matter; none of the formats written here keeps them.
void WriteImage(const std::string& path, const host::World& world, const ImageWindows&) {
  if (world.Empty()) throw ImageError("nothing to write to " + path + ": the image is empty");
  const std::string ext = WritableExtension(path);
  const bool jpeg = ext == "jpg" || ext == "jpeg";
  // JPEG has no alpha: the colour is written over black, that is, premultiplied; the
  // other formats are straight, as the world is.
  const int channels = jpeg ? 3 : 4;
  const int w = world.Width(), h = world.Height();
  std::vector<A_u_char> bytes(size_t(w) * h * channels);
  for (A_long y = 0; y < h; ++y) {
    for (A_long x = 0; x < w; ++x) {
      FilePixel(world.Value(x, y), jpeg, channels, bytes.data() + (size_t(y) * w + x) * channels);
    }
  }
  // Encoded in memory, then written through one checked, atomic write.
  std::string encoded;
  void* to = &encoded;
  const A_u_char* data = bytes.data();
  const int ok = ext == "png"
                     ? stbi_write_png_to_func(AppendBytes, to, w, h, channels, data, w * channels)
                 : ext == "tga" ? stbi_write_tga_to_func(AppendBytes, to, w, h, channels, data)
                 : ext == "bmp" ? stbi_write_bmp_to_func(AppendBytes, to, w, h, channels, data)
                                : stbi_write_jpg_to_func(AppendBytes, to, w, h, channels, data, 95);
  if (!ok) throw ImageError("cannot write " + Quoted(path) + ": the image could not be encoded");
  WriteFileAtomically(path, encoded);
}

}  // namespace solvane::cli
