// Image files through OpenImageIO and the size checks made on what their headers declare,
// before any pixel is allocated: PNG, TIFF, EXR and JPEG, chosen by the file's signature
// as a user's file name would choose them. Some of the small files that pass are read in
// full as well, so that a check which lets a damaged header through shows as an allocation
// or a read beyond what was declared.
#include <OpenImageIO/imageio.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "support/FuzzInput.h"
#include "tools/render/ImageIO.h"

using namespace solvane;

namespace {

// Pictures up to this many pixels may be decoded as well; larger ones are header-checked
// only (decoding them times the fuzzer out without reaching more of our code).
constexpr int64_t kDecodedPixels = int64_t(1) << 16;

// OpenImageIO 2.4 converts every read through a 64 MiB buffer, which under the sanitizers
// costs a tenth of a second: one input in eight (chosen by its bytes, so a run repeats) is
// decoded, the rest only opened and checked.
bool Decoded(const uint8_t* data, size_t size) {
  return size > 0 && data[size / 2] % 8 == 0;
}

const char* Extension(const uint8_t* data, size_t size) {
  const auto starts = [&](const char* magic, size_t n) {
    return size >= n && std::memcmp(data, magic, n) == 0;
  };
  if (starts("\x89PNG", 4)) return ".png";
  if (starts("II*\0", 4) || starts("MM\0*", 4)) return ".tif";
  if (starts("\x76\x2f\x31\x01", 4)) return ".exr";
  if (starts("\xff\xd8", 2)) return ".jpg";
  static const char* const kAny[] = {".png", ".tif", ".exr", ".jpg"};
  return kAny[size == 0 ? 0 : data[size - 1] % 4];
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // One thread: the decoders' pools would only add threads that outlive each input.
  OIIO::attribute("threads", 1);
  OIIO::attribute("exr_threads", 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path =
      fuzz::ScratchFile(std::string("image") + Extension(data, size), data, size);
  try {
    const cli::ImageHeader header = cli::ReadImageHeader(path);
    if (int64_t(header.width) * header.height <= kDecodedPixels && Decoded(data, size)) {
      cli::ReadImage(path, 0);
    }
  } catch (const cli::ImageError&) {
  }
  // OpenImageIO keeps the last error per thread; left there, it would read as a leak.
  OIIO::geterror();
  return 0;
}
