// Image files in and out of host worlds through OpenImageIO. Worlds hold straight colour.
// PNG, JPEG and unassociated-alpha TIFF go in and out unchanged; EXR and associated-alpha
// TIFF hold premultiplied colour, divided by alpha on reading and multiplied on writing.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "host/World.h"

namespace solvane::cli {

// An image that cannot be read or written; the message names the file and the reason.
class ImageError : public std::runtime_error {
 public:
  explicit ImageError(const std::string& message) : std::runtime_error(message) {}
};

// Where a picture lies in its frame, as EXR keeps it: the data window's origin (its size
// is the picture's) and the display window. `declared` is false for a file that declares
// nothing beyond its own pixels at (0, 0).
struct ImageWindows {
  bool declared = false;
  int x = 0, y = 0;
  int displayX = 0, displayY = 0, displayWidth = 0, displayHeight = 0;
};

// What a file's header declares, read without its pixels.
struct ImageHeader {
  int width = 0;
  int height = 0;
  ImageWindows windows;
};

// The header of the first image of the file, checked as ReadImage checks it. Throws
// ImageError.
ImageHeader ReadImageHeader(const std::string& path);

// Throws ImageError unless a picture of the declared size can be worked on: each side
// within the largest GL texture there is, at most 2^28 pixels, and no more decoded bytes
// than a file of `fileBytes` bytes can hold (a few hundred bytes declaring gigapixels are
// refused before anything is allocated for them).
void CheckDeclaredSize(const std::string& path, int64_t width, int64_t height, int64_t decodedBytes,
                       uint64_t fileBytes);

// Throws ImageError unless `path` names a regular file: "there is no such file", "is a
// directory", the system's reason (a loop of links), or not a regular file (a device or
// a FIFO).
void CheckInputFile(const std::string& path);

// For an OpenEXR file (by its signature, whatever its name): throws ImageError when a
// header attribute declares more bytes than the file has left. The EXR library allocates
// and clears an attribute's declared size before it reads it, so a file of a few hundred
// bytes could otherwise take gigabytes. The data window is held to CheckDeclaredSize's
// limits as well, since the library sizes its buffers by it while opening. Anything else
// about the header is left to the library to judge.
void CheckExrAttributeSizes(const std::string& path);

// For a PNG file (by its signature): throws ImageError when a chunk declares more bytes
// than the file has left (libpng allocates and clears a text chunk's declared length
// before it reads it) or the file ends before its IEND chunk (OpenImageIO's PNG reader
// would find that only while decoding, and then leaks its error message: libpng's longjmp
// out of the read callback skips its destructor).
void CheckPngChunks(const std::string& path);

// Reads the first image of the file into a world of `depth` bits (8 or 32), or, with depth
// 0, of 32 bits for a float file and 8 otherwise. Grey images fill red, green and blue;
// images without alpha are opaque.
host::World ReadImage(const std::string& path, int depth);

// Throws ImageError unless `path` names a format that can be written, in a folder that
// exists: checked before a render, so that a long render does not end in a failed write.
void CheckOutputPath(const std::string& path);

// Writes the whole world in the format the file name's extension names. EXR is written as
// premultiplied float; TIFF as premultiplied float from a 32-bit world, else as 8-bit
// straight colour tagged unassociated; other formats as 8-bit straight colour, and a
// format without alpha (JPEG) gets the colour over black. The file is encoded
// in memory and written with WriteFileAtomically: a failed write leaves the previous file
// and throws FileError. Declared `windows` are written where the format keeps them (EXR).
void WriteImage(const std::string& path, const host::World& world,
                const ImageWindows& windows = {});

}  // namespace solvane::cli
