#include "tools/render/ImageIO.h"
#include "tools/render/PixelConversion.h"

#include <OpenImageIO/filesystem.h>
#include <OpenImageIO/imageio.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "tools/render/AtomicFile.h"
#include "tools/render/Quoted.h"

namespace solvane::cli {
namespace {

using OIIO::TypeDesc;

// OpenImageIO's messages may run over several lines; the user gets the first.
std::string Reason(std::string message) {
  message = message.substr(0, message.find('\n'));
  return message.empty() ? "unknown error" : message;
}

// Opens the file and checks what its header declares before any pixel is read.
std::unique_ptr<OIIO::ImageInput> OpenChecked(const std::string& path) {
  CheckInputFile(path);
  CheckExrAttributeSizes(path);
  CheckPngChunks(path);
  // Straight-alpha files are read as stored: OpenImageIO must not premultiply them.
  OIIO::ImageSpec config;
  config.attribute("oiio:UnassociatedAlpha", 1);
  auto in = OIIO::ImageInput::open(path, &config);
  if (!in) throw ImageError("cannot read " + Quoted(path) + ": " + Reason(OIIO::geterror()));
  const OIIO::ImageSpec& spec = in->spec();
  std::error_code error;
  const uintmax_t fileBytes = std::filesystem::file_size(path, error);
  if (spec.nchannels <= 0) {
    throw ImageError("cannot read " + Quoted(path) + ": the image has no channels");
  }
  CheckDeclaredSize(path, spec.width, spec.height, int64_t(spec.image_bytes()),
                    error ? 0 : uint64_t(fileBytes));
  return in;
}

struct ChannelMap {
  int red = 0, green = 0, blue = 0, alpha = -1;
};

// The first three colour channels (one for grey) and the alpha channel, if any.
ChannelMap MapChannels(const OIIO::ImageSpec& spec) {
  std::vector<int> colour;
  for (int c = 0; c < spec.nchannels; ++c) {
    if (c != spec.alpha_channel) colour.push_back(c);
  }
  ChannelMap map;
  map.alpha = spec.alpha_channel;
  if (colour.empty()) colour.push_back(map.alpha);
  map.red = colour[0];
  map.green = colour.size() >= 3 ? colour[1] : colour[0];
  map.blue = colour.size() >= 3 ? colour[2] : colour[0];
  return map;
}

bool IsFloatFormat(TypeDesc format) {
  return format.basetype == TypeDesc::FLOAT || format.basetype == TypeDesc::HALF ||
         format.basetype == TypeDesc::DOUBLE;
}

void StorePixel(host::World& world, A_long x, A_long y, const float* p, const ChannelMap& map,
                bool premultiplied) {
  const float a = map.alpha >= 0 ? p[map.alpha] : 1.0f;
  const float r = p[map.red], g = p[map.green], b = p[map.blue];
  StoreFilePixel(world, x, y, a, r, g, b, premultiplied);
}

// EXR holds premultiplied colour by convention; a TIFF says which it holds in its
// extra-samples tag, which OpenImageIO reports as "oiio:UnassociatedAlpha" when asked to
// keep straight colour as stored. Every other format is straight.
bool HoldsPremultipliedColour(const OIIO::ImageInput& in) {
  const OIIO::ImageSpec& spec = in.spec();
  if (spec.alpha_channel < 0) return false;
  const std::string format = in.format_name();
  if (format == "openexr") return true;
  return format == "tiff" && spec.get_int_attribute("oiio:UnassociatedAlpha", 0) == 0;
}

}  // namespace

ImageHeader ReadImageHeader(const std::string& path) {
  const auto in = OpenChecked(path);
  const OIIO::ImageSpec& spec = in->spec();
  ImageWindows windows{false,       spec.x,          spec.y,          spec.full_x,
                       spec.full_y, spec.full_width, spec.full_height};
  windows.declared = spec.x != 0 || spec.y != 0 || spec.full_x != 0 || spec.full_y != 0 ||
                     spec.full_width != spec.width || spec.full_height != spec.height;
  return {spec.width, spec.height, windows};
}

host::World ReadImage(const std::string& path, int depth) {
  const auto in = OpenChecked(path);
  const OIIO::ImageSpec& spec = in->spec();
  const bool isFloat = IsFloatFormat(spec.format);
  std::vector<float> pixels(size_t(spec.width) * spec.height * spec.nchannels);
  // Some decoders (TIFF, JPEG) hand back a cut-short file's pixels as a success and only
  // record the damage in their error state.
  const bool read = in->read_image(0, 0, 0, spec.nchannels, TypeDesc::FLOAT, pixels.data());
  if (!read || in->has_error()) {
    const std::string reason = in->geterror();
    throw ImageError("cannot read " + Quoted(path) + ": " +
                     Reason(reason.empty() ? "the file is damaged or cut short" : reason));
  }
  host::World world(spec.width, spec.height, depth != 0 ? depth : (isFloat ? 32 : 8));
  const ChannelMap map = MapChannels(spec);
  const bool premultiplied = HoldsPremultipliedColour(*in);
  for (A_long y = 0; y < spec.height; ++y) {
    for (A_long x = 0; x < spec.width; ++x) {
      const float* p = pixels.data() + (size_t(y) * spec.width + x) * spec.nchannels;
      StorePixel(world, x, y, p, map, premultiplied);
    }
  }
  return world;
}

void CheckOutputPath(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    throw ImageError("cannot write " + Quoted(path) + ": is a directory");
  }
  if (!OIIO::ImageOutput::create(path)) {
    throw ImageError("cannot write " + Quoted(path) + ": " + Reason(OIIO::geterror()));
  }
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
    throw ImageError("cannot write " + Quoted(path) + ": the folder " + folder.string() +
                     " does not exist");
  }
}

namespace {

// The data and display windows, where the format keeps them.
void SetWindows(OIIO::ImageSpec& spec, const ImageWindows& windows, const OIIO::ImageOutput& out) {
  if (!windows.declared) return;
  if (out.supports("origin")) {
    spec.x = windows.x;
    spec.y = windows.y;
  }
  if (out.supports("displaywindow")) {
    spec.full_x = windows.displayX;
    spec.full_y = windows.displayY;
    spec.full_width = windows.displayWidth;
    spec.full_height = windows.displayHeight;
  }
}

}  // namespace

void WriteImage(const std::string& path, const host::World& world, const ImageWindows& windows) {
  if (world.Empty()) throw ImageError("nothing to write to " + path + ": the image is empty");
  auto out = OIIO::ImageOutput::create(path);
  if (!out) throw ImageError("cannot write " + Quoted(path) + ": " + Reason(OIIO::geterror()));
  if (!out->supports("ioproxy")) {
    throw ImageError("cannot write " + Quoted(path) + ": OpenImageIO cannot encode " +
                     out->format_name() + " files in memory for a checked write");
  }
  const std::string format = out->format_name();
  const bool asFloat = format == "openexr" || (format == "tiff" && world.Depth() == 32);
  const int channels = out->supports("alpha") ? 4 : 3;
  OIIO::ImageSpec spec(world.Width(), world.Height(), channels,
                       asFloat ? TypeDesc::FLOAT : TypeDesc::UINT8);
  // Float files (EXR, float TIFF) are premultiplied, as compositing packages read them,
  // and a file without alpha shows the colour over black; the rest hold the world's
  // straight colour, which OpenImageIO must write as it is and tag as unassociated.
  const bool premultiplied = asFloat || channels < 4;
  if (!premultiplied) spec.attribute("oiio:UnassociatedAlpha", 1);
  // OpenImageIO 2.4 on Debian 12's libtiff fails to write the Exif directory it makes for
  // the DateTime it adds ("failed TIFFWriteCustomDirectory() of the Exif data"). The tool
  // has no Exif data to keep, and DateTime stays in the TIFF's own tags.
  if (format == "tiff") spec.attribute("tiff:write_exif", 0);
  SetWindows(spec, windows, *out);
  std::vector<float> pixels(size_t(world.Width()) * world.Height() * channels);
  for (A_long y = 0; y < world.Height(); ++y) {
    for (A_long x = 0; x < world.Width(); ++x) {
      const FileColour colour = ToFileColour(world.Value(x, y), premultiplied);
      float* p = pixels.data() + (size_t(y) * world.Width() + x) * channels;
      std::copy_n(colour.begin(), channels, p);
    }
  }
  // Encoded in memory, so the codec never meets a full disk (libjpeg would end the
  // process on one) and every byte reaches the file through one checked write.
  std::vector<unsigned char> encoded;
  OIIO::Filesystem::IOVecOutput memory(encoded);
  out->set_ioproxy(&memory);
  if (!out->open(path, spec) || !out->write_image(TypeDesc::FLOAT, pixels.data()) ||
      !out->close() || out->has_error()) {
    throw ImageError("cannot write " + Quoted(path) + ": " + Reason(out->geterror()));
  }
  WriteFileAtomically(path, {reinterpret_cast<const char*>(encoded.data()), encoded.size()});
}

}  // namespace solvane::cli
