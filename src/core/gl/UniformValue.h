// Tagged uniform values and the per-frame table that maps uniform names to them. The
// render records each pass's values by name; ApplyPodUniforms (Pod.h) applies them.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "GLApi.h"

namespace solvane {

struct UniformValue {
  // How the value is applied; the numbers are part of the record.
  enum Tag : std::uint32_t {
    kUnsignedInt = 0,
    kInt = 1,
    kIntVec2 = 2,
    kIntVec3 = 3,
    kIntVec4 = 4,
    kFloat = 5,
    kFloatVec2 = 6,
    kFloatVec3 = 7,
    kFloatVec4 = 8,
    kMatrix4 = 9,     // column-major, passed untransposed
    kTexture1D = 10,  // payload: texture name, bound to the next free texture unit
    kTexture2D = 11,
  };

  std::uint32_t tag = kInt;
  std::array<std::uint32_t, 16> payload{};

  static UniformValue UnsignedInt(std::uint32_t v);
  static UniformValue Int(std::int32_t v);
  static UniformValue IntVec2(std::int32_t x, std::int32_t y);
  static UniformValue IntVec3(std::int32_t x, std::int32_t y, std::int32_t z);
  static UniformValue IntVec4(std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t w);
  static UniformValue Float(float v);
  static UniformValue FloatVec2(float x, float y);
  static UniformValue FloatVec3(float x, float y, float z);
  static UniformValue FloatVec4(float x, float y, float z, float w);
  static UniformValue Matrix4(const std::array<float, 16>& columnMajor);
  static UniformValue Texture1D(GLuint texture);
  static UniformValue Texture2D(GLuint texture);

  std::int32_t IntAt(size_t i) const;
  float FloatAt(size_t i) const;
  // Payload words the tag uses (0 for an unknown tag).
  size_t WordCount() const;
};

// Names compare exactly; recording a name again replaces its value.
using UniformTable = std::map<std::string, UniformValue, std::less<>>;

// The value as text, for diagnostics: the used words separated by ", ", floats as floats.
std::string FormatUniformValue(const UniformValue& value);

}  // namespace solvane
