#include "ImageFiles.h"

#include <algorithm>

#include "host/World.h"
#include "ofxImageEffect.h"
#include "tools/render/ImageIO.h"

namespace solvane::ofx_host {
namespace {

Rgba Scaled(Rgba p, bool multiply) {
  const float a = p[3];
  if (!multiply && a == 0.0f) return p;
  for (int c = 0; c < 3; ++c) p[size_t(c)] = multiply ? p[size_t(c)] * a : p[size_t(c)] / a;
  return p;
}

HostImage Converted(const HostImage& in, bool multiply, const char* state) {
  HostImage out(ImageLayout{in.Bounds(), in.PixelDepth()});
  out.pixelAspectRatio = in.pixelAspectRatio;
  out.premultiplication = state;
  const OfxRectI& b = in.Bounds();
  for (int y = b.y1; y < b.y2; ++y) {
    for (int x = b.x1; x < b.x2; ++x) out.Set(x, y, Scaled(in.Get(x, y), multiply));
  }
  return out;
}

}  // namespace

HostImage Premultiplied(const HostImage& straight) {
  return Converted(straight, true, kOfxImagePreMultiplied);
}

HostImage Unpremultiplied(const HostImage& premultiplied) {
  return Converted(premultiplied, false, kOfxImageUnPreMultiplied);
}

HostImage ReadImageFile(const std::string& path, Depth depth, bool premultiply, int x1, int y1) {
  const host::World world = cli::ReadImage(path, depth == Depth::kByte ? 8 : 32);
  const int w = world.Width(), h = world.Height();
  HostImage image(ImageLayout{{x1, y1, x1 + w, y1 + h}, depth});
  for (int row = 0; row < h; ++row) {
    for (int col = 0; col < w; ++col) {
      const PF_PixelFloat p = world.Value(col, row);
      image.Set(x1 + col, y1 + h - 1 - row, {p.red, p.green, p.blue, p.alpha});
    }
  }
  return premultiply ? Premultiplied(image) : image;
}

void WriteImageFile(const std::string& path, const HostImage& image) {
  const HostImage straight =
      image.premultiplication == kOfxImagePreMultiplied ? Unpremultiplied(image) : HostImage(image);
  const OfxRectI& b = straight.Bounds();
  const int h = straight.Height();
  host::World world(straight.Width(), h, straight.PixelDepth() == Depth::kByte ? 8 : 32);
  for (int y = b.y1; y < b.y2; ++y) {
    for (int x = b.x1; x < b.x2; ++x) {
      const Rgba p = straight.Get(x, y);
      world.SetValue(x - b.x1, h - 1 - (y - b.y1), {p[3], p[0], p[1], p[2]});
    }
  }
  cli::WriteImage(path, world);
}

HostImage BoxDownsample(const HostImage& image, int factor) {
  const OfxRectI& b = image.Bounds();
  const int w = (image.Width() + factor - 1) / factor, h = (image.Height() + factor - 1) / factor;
  HostImage out(ImageLayout{{b.x1 / factor, b.y1 / factor, b.x1 / factor + w, b.y1 / factor + h},
                            image.PixelDepth()});
  out.premultiplication = image.premultiplication;
  out.pixelAspectRatio = image.pixelAspectRatio;
  // Blocks counted from the top row down, as the image's file and the downsampled layer
  // of the other host are.
  for (int by = 0; by < h; ++by) {
    for (int bx = 0; bx < w; ++bx) {
      Rgba sum{0, 0, 0, 0};
      int count = 0;
      for (int dy = 0; dy < factor; ++dy) {
        for (int dx = 0; dx < factor; ++dx) {
          const int x = b.x1 + bx * factor + dx, y = b.y2 - 1 - (by * factor + dy);
          if (!image.Contains(x, y)) continue;
          const Rgba p = image.Get(x, y);
          for (int c = 0; c < 4; ++c) sum[size_t(c)] += p[size_t(c)];
          ++count;
        }
      }
      for (float& v : sum) v /= float(count);
      out.Set(out.Bounds().x1 + bx, out.Bounds().y2 - 1 - by, sum);
    }
  }
  return out;
}

}  // namespace solvane::ofx_host
