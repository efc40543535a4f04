#include "UniformValue.h"

#include <bit>
#include <initializer_list>
#include <sstream>

namespace solvane {
namespace {

UniformValue FromInts(UniformValue::Tag tag, std::initializer_list<std::int32_t> values) {
  UniformValue result;
  result.tag = tag;
  size_t i = 0;
  for (std::int32_t v : values) result.payload[i++] = std::bit_cast<std::uint32_t>(v);
  return result;
}

UniformValue FromFloats(UniformValue::Tag tag, std::initializer_list<float> values) {
  UniformValue result;
  result.tag = tag;
  size_t i = 0;
  for (float v : values) result.payload[i++] = std::bit_cast<std::uint32_t>(v);
  return result;
}

UniformValue FromName(UniformValue::Tag tag, GLuint name) {
  UniformValue result;
  result.tag = tag;
  result.payload[0] = name;
  return result;
}

bool IsFloatTag(std::uint32_t tag) {
  return tag >= UniformValue::kFloat && tag <= UniformValue::kMatrix4;
}

}  // namespace

UniformValue UniformValue::UnsignedInt(std::uint32_t v) {
  return FromName(kUnsignedInt, v);
}
UniformValue UniformValue::Int(std::int32_t v) {
  return FromInts(kInt, {v});
}
UniformValue UniformValue::IntVec2(std::int32_t x, std::int32_t y) {
  return FromInts(kIntVec2, {x, y});
}
UniformValue UniformValue::IntVec3(std::int32_t x, std::int32_t y, std::int32_t z) {
  return FromInts(kIntVec3, {x, y, z});
}
UniformValue UniformValue::IntVec4(std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t w) {
  return FromInts(kIntVec4, {x, y, z, w});
}
UniformValue UniformValue::Float(float v) {
  return FromFloats(kFloat, {v});
}
UniformValue UniformValue::FloatVec2(float x, float y) {
  return FromFloats(kFloatVec2, {x, y});
}
UniformValue UniformValue::FloatVec3(float x, float y, float z) {
  return FromFloats(kFloatVec3, {x, y, z});
}
UniformValue UniformValue::FloatVec4(float x, float y, float z, float w) {
  return FromFloats(kFloatVec4, {x, y, z, w});
}
UniformValue UniformValue::Matrix4(const std::array<float, 16>& columnMajor) {
  UniformValue result;
  result.tag = kMatrix4;
  for (size_t i = 0; i < 16; ++i) result.payload[i] = std::bit_cast<std::uint32_t>(columnMajor[i]);
  return result;
}
UniformValue UniformValue::Texture1D(GLuint texture) {
  return FromName(kTexture1D, texture);
}
UniformValue UniformValue::Texture2D(GLuint texture) {
  return FromName(kTexture2D, texture);
}

std::int32_t UniformValue::IntAt(size_t i) const {
  return std::bit_cast<std::int32_t>(payload[i]);
}
float UniformValue::FloatAt(size_t i) const {
  return std::bit_cast<float>(payload[i]);
}

size_t UniformValue::WordCount() const {
  switch (tag) {
    case kUnsignedInt:
    case kInt:
    case kFloat:
    case kTexture1D:
    case kTexture2D:
      return 1;
    case kIntVec2:
    case kFloatVec2:
      return 2;
    case kIntVec3:
    case kFloatVec3:
      return 3;
    case kIntVec4:
    case kFloatVec4:
      return 4;
    case kMatrix4:
      return 16;
    default:
      return 0;
  }
}

std::string FormatUniformValue(const UniformValue& value) {
  const bool isSigned = value.tag >= UniformValue::kInt && value.tag <= UniformValue::kIntVec4;
  std::ostringstream text;
  for (size_t i = 0; i < value.WordCount(); ++i) {
    if (i > 0) text << ", ";
    if (IsFloatTag(value.tag)) {
      text << value.FloatAt(i);
    } else if (isSigned) {
      text << value.IntAt(i);
    } else {
      text << value.payload[i];  // unsigned integer or texture name
    }
  }
  return text.str();
}

}  // namespace solvane
