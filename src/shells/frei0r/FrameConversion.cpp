#include "shells/frei0r/FrameConversion.h"

#include <cstring>

namespace solvane::frei0r {

void ToArgb(const uint8_t* rgba, size_t count, uint8_t* argb) {
  for (size_t i = 0; i < count; ++i, rgba += 4, argb += 4) {
    argb[0] = rgba[3];
    argb[1] = rgba[0];
    argb[2] = rgba[1];
    argb[3] = rgba[2];
  }
}

void ToRgba(const uint8_t* argb, size_t count, uint8_t* rgba) {
  for (size_t i = 0; i < count; ++i, rgba += 4, argb += 4) {
    rgba[0] = argb[1];
    rgba[1] = argb[2];
    rgba[2] = argb[3];
    rgba[3] = argb[0];
  }
}

void CompositeOver(const uint8_t* inputArgb, size_t count, const pixels::Compositor8& composite,
                   uint8_t* outputArgb) {
  for (size_t i = 0; i < count; ++i, inputArgb += 4, outputArgb += 4) {
    pixels::Argb8 source, destination;
    std::memcpy(source.data(), inputArgb, 4);
    std::memcpy(destination.data(), outputArgb, 4);
    const pixels::Argb8 result = composite(source, destination);
    std::memcpy(outputArgb, result.data(), 4);
  }
}

}  // namespace solvane::frei0r
