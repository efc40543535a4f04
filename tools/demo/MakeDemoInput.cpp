// Draws the bundled demo input: a night skyline with lit windows, a moon and a bright sign
// under a transparent sky, so the rays have bright sources to stream from and the alpha
// shows what un-multiplying does. Deterministic: the same file every run.
#include <OpenImageIO/imageio.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct Canvas {
  int width, height;
  std::vector<float> rgba;  // straight alpha, row 0 at the top
  Canvas(int w, int h) : width(w), height(h), rgba(size_t(w) * h * 4, 0.0f) {}
  void Over(int x, int y, float r, float g, float b, float a) {
    if (x < 0 || y < 0 || x >= width || y >= height || a <= 0.0f) return;
    float* p = &rgba[(size_t(y) * width + x) * 4];
    const float outA = a + p[3] * (1.0f - a);
    for (int c = 0; c < 3; ++c) {
      const float src = c == 0 ? r : c == 1 ? g : b;
      p[c] = (src * a + p[c] * p[3] * (1.0f - a)) / outA;
    }
    p[3] = outA;
  }
};

// A small deterministic generator so the picture never changes between runs.
uint32_t Next(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}
float Unit(uint32_t& state) {
  return float(Next(state) & 0xFFFF) / 65535.0f;
}

void DrawMoon(Canvas& c, float cx, float cy, float radius) {
  for (int y = int(cy - radius * 3); y <= int(cy + radius * 3); ++y) {
    for (int x = int(cx - radius * 3); x <= int(cx + radius * 3); ++x) {
      const float d = std::hypot(x - cx, y - cy) / radius;
      const float disc = std::clamp((1.0f - d) * 8.0f, 0.0f, 1.0f);
      const float glow = 0.35f * std::exp(-2.0f * std::max(d - 1.0f, 0.0f));
      c.Over(x, y, 1.0f, 0.96f, 0.85f, std::max(disc, glow));
    }
  }
}

void DrawBuilding(Canvas& c, int left, int width, int top, uint32_t& rng) {
  const float shade = 0.05f + 0.05f * Unit(rng);
  for (int y = top; y < c.height; ++y) {
    for (int x = left; x < left + width; ++x) c.Over(x, y, shade, shade, shade * 1.4f, 1.0f);
  }
  for (int y = top + 4; y + 3 < c.height - 6; y += 7) {
    for (int x = left + 3; x + 2 < left + width - 2; x += 6) {
      if (Unit(rng) > 0.45f) continue;
      const float warm = Unit(rng);
      for (int dy = 0; dy < 3; ++dy) {
        for (int dx = 0; dx < 3; ++dx)
          c.Over(x + dx, y + dy, 1.0f, 0.75f + 0.2f * warm, 0.35f + 0.3f * warm, 1.0f);
      }
    }
  }
}

void DrawSign(Canvas& c, int x0, int y0) {
  // A lit bar with a cyan tube, bright enough to stream in zoom and spin.
  for (int y = y0; y < y0 + 8; ++y) {
    for (int x = x0; x < x0 + 70; ++x) c.Over(x, y, 0.3f, 1.0f, 1.0f, 1.0f);
  }
}

bool Write(const Canvas& c, const char* path) {
  auto out = OIIO::ImageOutput::create(path);
  if (!out) return false;
  OIIO::ImageSpec spec(c.width, c.height, 4, OIIO::TypeDesc::UINT8);
  if (!out->open(path, spec)) return false;
  std::vector<uint8_t> bytes(c.rgba.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = uint8_t(std::lround(std::clamp(c.rgba[i], 0.0f, 1.0f) * 255.0f));
  }
  return out->write_image(OIIO::TypeDesc::UINT8, bytes.data()) && out->close();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
    return 2;
  }
  Canvas canvas(480, 270);
  uint32_t rng = 20261209u;
  for (int i = 0; i < 40; ++i) {  // stars: single bright pixels in the open sky
    canvas.Over(int(Next(rng) % 480), int(Next(rng) % 110), 1.0f, 1.0f, 0.95f, 1.0f);
  }
  DrawMoon(canvas, 355.0f, 62.0f, 20.0f);
  for (int x = 0; x < canvas.width;) {
    const int width = 22 + int(Next(rng) % 38);
    const int top = 120 + int(Next(rng) % 110);
    DrawBuilding(canvas, x, width, top, rng);
    x += width + int(Next(rng) % 4);
  }
  DrawSign(canvas, 150, 150);
  if (!Write(canvas, argv[1])) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
