// One instance called on several threads at once, one horizontal band each, as MLT slices
// a frame when the filter's `threads` property is not 1: every band comes out as that band
// alone drawn by the same instance, never as a copy of another band.
#include <gtest/gtest.h>

#include <barrier>
#include <thread>
#include <vector>

#include "shells/frei0r/FilterInstance.h"

namespace solvane::frei0r {
namespace {

constexpr int kW = 48;
constexpr int kBand = 16;
constexpr int kBands = 3;
constexpr size_t kBandBytes = size_t(kW) * kBand * 4;

// Each band different: a bright spot at a different place on a different gradient.
std::vector<uint8_t> Frame(int seed) {
  std::vector<uint8_t> rgba(kBandBytes * kBands);
  for (int y = 0; y < kBand * kBands; ++y) {
    for (int x = 0; x < kW; ++x) {
      uint8_t* p = &rgba[(size_t(y) * kW + x) * 4];
      const int dx = x - 8 - 12 * (y / kBand) - seed, dy = y % kBand - 8;
      const bool spot = dx * dx + dy * dy < 16;
      p[0] = spot ? 255 : uint8_t(x * 5);
      p[1] = spot ? 255 : uint8_t(y * 4);
      p[2] = spot ? 250 : uint8_t(40 * (y / kBand));
      p[3] = 255;
    }
  }
  return rgba;
}

void Configure(FilterInstance& f) {
  const char* view = "final composite";
  const double length = 0.8;
  f.SetParam(20, &view);
  f.SetParam(6, &length);
}

TEST(FilterSlices, BandsDrawnAtOnceEqualEachBandDrawnAlone) {
  FilterInstance f(kW, kBand);
  Configure(f);
  constexpr int kFrames = 6;
  std::vector<std::vector<uint8_t>> alone;
  for (int s = 0; s < kFrames; ++s) {
    const std::vector<uint8_t> in = Frame(s);
    std::vector<uint8_t> out(in.size());
    for (int b = 0; b < kBands; ++b) f.Update(&in[b * kBandBytes], &out[b * kBandBytes]);
    alone.push_back(out);
  }
  std::vector<std::vector<uint8_t>> sliced;
  std::barrier start(kBands);
  for (int s = 0; s < kFrames; ++s) {
    const std::vector<uint8_t> in = Frame(s);
    std::vector<uint8_t> out(in.size());
    std::vector<std::thread> slices;
    for (int b = 0; b < kBands; ++b) {
      slices.emplace_back([&, b] {
        start.arrive_and_wait();
        f.Update(&in[b * kBandBytes], &out[b * kBandBytes]);
      });
    }
    for (std::thread& t : slices) t.join();
    sliced.push_back(out);
  }
  for (int s = 0; s < kFrames; ++s) EXPECT_EQ(sliced[s], alone[s]) << "frame " << s;
  // The bands differ from each other and the rays changed them.
  EXPECT_NE(std::vector<uint8_t>(alone[0].begin(), alone[0].begin() + kBandBytes),
            std::vector<uint8_t>(alone[0].begin() + kBandBytes, alone[0].begin() + 2 * kBandBytes));
  EXPECT_NE(alone[0], Frame(0));
}

}  // namespace
}  // namespace solvane::frei0r
