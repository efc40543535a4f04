// Image files in and out of host worlds through OpenImageIO. Float files (EXR, float TIFF)
// hold the world's premultiplied values as they are; integer files (PNG, JPEG, 8- and
// 16-bit TIFF) hold straight alpha, premultiplied on read and un-premultiplied on write.
#pragma once

#include <stdexcept>
#include <string>

#include "host/World.h"

namespace solvane::cli {

// An image that cannot be read or written; the message names the file and the reason.
class ImageError : public std::runtime_error {
 public:
  explicit ImageError(const std::string& message) : std::runtime_error(message) {}
};

// Reads the first image of the file into a world of `depth` bits (8 or 32), or, with depth
// 0, of 32 bits for a float file and 8 otherwise. Grey images fill red, green and blue;
// images without alpha are opaque.
host::World ReadImage(const std::string& path, int depth);

// Throws ImageError unless `path` names a format that can be written, in a folder that
// exists: checked before a render, so that a long render does not end in a failed write.
void CheckOutputPath(const std::string& path);

// Writes the whole world in the format the file name's extension names. EXR is written as
// float; TIFF as float from a 32-bit world, else 8-bit; other formats as 8-bit straight
// alpha, and a format without alpha (JPEG) gets the colour over black.
void WriteImage(const std::string& path, const host::World& world);

}  // namespace solvane::cli
