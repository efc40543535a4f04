// Image files in and out of the test host's images, through the same reader and writer as
// solvane-render (OpenImageIO, or stb in the Windows build), so that both programs start
// from the same pixels: straight colour as the file holds it (EXR divided by alpha), the
// file's top row at the top of the image (OpenFX rows go up from bounds.y1).
#pragma once

#include <string>

#include "HostImage.h"

namespace solvane::ofx_host {

// The file's pixels in an image whose bottom-left pixel is (x1, y1). With `premultiply`,
// colour is multiplied by alpha and the image says so. Throws cli::ImageError naming the
// file and the reason.
HostImage ReadImageFile(const std::string& path, Depth depth, bool premultiply = false, int x1 = 0,
                        int y1 = 0);

// Writes the whole image as the file's extension says, as straight colour (a premultiplied
// image is divided by alpha first, colour kept where alpha is 0). Throws on failure.
void WriteImageFile(const std::string& path, const HostImage& image);

// The image with colour multiplied by (or, where alpha is not 0, divided by) alpha.
HostImage Premultiplied(const HostImage& straight);
HostImage Unpremultiplied(const HostImage& premultiplied);

// Each pixel the mean of the factor x factor block it covers (partial blocks at the right
// and top edges average what they have), as the stand-in After Effects host downsamples.
HostImage BoxDownsample(const HostImage& image, int factor);

}  // namespace solvane::ofx_host
