#include "Pod.h"

#include <array>
#include <atomic>
#include <utility>

#include "Diagnostics.h"

namespace solvane {
namespace {

// Names of active attributes and uniforms are read into this many bytes.
constexpr GLsizei kNameSize = 32;

using NamedLocations = std::vector<std::pair<std::string, GLint>>;

std::atomic<UniformObserver*> uniformObserver{nullptr};

bool IsBuiltIn(std::string_view name) {
  return name.starts_with("gl_");
}

std::vector<std::string> NamesOf(const NamedLocations& entries) {
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.first);
  return names;
}

NamedLocations ActiveAttributeLocations(GLuint program, GLint active) {
  NamedLocations locations;
  for (GLint i = 0; i < active; ++i) {
    std::array<char, kNameSize> name{};
    GLint size = 0;
    GLenum type = 0;
    glGetActiveAttrib(program, static_cast<GLuint>(i), kNameSize, nullptr, &size, &type,
                      name.data());
    if (IsBuiltIn(name.data())) continue;
    const GLint location = glGetAttribLocation(program, name.data());
    if (location != -1) locations.emplace_back(name.data(), location);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) ReportAttribLocationError(name.data(), error);
  }
  return locations;
}

void ConnectAttribute(GLint location, const AttributeSource& source) {
  glBindBuffer(GL_ARRAY_BUFFER, source.buffer);
  GLenum error = glGetError();
  if (error != GL_NO_ERROR) ReportBufferBindError(error);
  const auto index = static_cast<GLuint>(location);
  glVertexAttribPointer(index, source.components, source.componentType, GL_FALSE, source.stride,
                        nullptr);
  glEnableVertexAttribArray(index);
  error = glGetError();
  if (error != GL_NO_ERROR) ReportVertexAttribError(error);
}

NamedLocations ActiveUniformLocations(GLuint program, GLint active) {
  NamedLocations locations;
  for (GLint i = 0; i < active; ++i) {
    std::array<char, kNameSize> name{};
    GLint size = 0;
    GLenum type = 0;
    glGetActiveUniform(program, static_cast<GLuint>(i), kNameSize, nullptr, &size, &type,
                       name.data());
    locations.emplace_back(name.data(), glGetUniformLocation(program, name.data()));
  }
  return locations;
}

void BindTextureToUnit(GLenum textureTarget, GLint location, GLuint texture, GLint& unit) {
  glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
  glBindTexture(textureTarget, texture);
  glUniform1i(location, unit);
  ++unit;
}

void ApplyValue(GLint location, const UniformValue& v, GLint& unit) {
  switch (v.tag) {
    case UniformValue::kUnsignedInt:
      glUniform1ui(location, v.payload[0]);
      break;
    case UniformValue::kInt:
      glUniform1i(location, v.IntAt(0));
      break;
    case UniformValue::kIntVec2:
      glUniform2i(location, v.IntAt(0), v.IntAt(1));
      break;
    case UniformValue::kIntVec3:
      glUniform3i(location, v.IntAt(0), v.IntAt(1), v.IntAt(2));
      break;
    case UniformValue::kIntVec4:
      glUniform4i(location, v.IntAt(0), v.IntAt(1), v.IntAt(2), v.IntAt(3));
      break;
    case UniformValue::kFloat:
      glUniform1f(location, v.FloatAt(0));
      break;
    case UniformValue::kFloatVec2:
      glUniform2f(location, v.FloatAt(0), v.FloatAt(1));
      break;
    case UniformValue::kFloatVec3:
      glUniform3f(location, v.FloatAt(0), v.FloatAt(1), v.FloatAt(2));
      break;
    case UniformValue::kFloatVec4:
      glUniform4f(location, v.FloatAt(0), v.FloatAt(1), v.FloatAt(2), v.FloatAt(3));
      break;
    case UniformValue::kMatrix4: {
      std::array<float, 16> matrix{};
      for (size_t i = 0; i < matrix.size(); ++i) matrix[i] = v.FloatAt(i);
      glUniformMatrix4fv(location, 1, GL_FALSE, matrix.data());
      break;
    }
    case UniformValue::kTexture1D:
      BindTextureToUnit(GL_TEXTURE_1D, location, v.payload[0], unit);
      break;
    case UniformValue::kTexture2D:
      BindTextureToUnit(GL_TEXTURE_2D, location, v.payload[0], unit);
      break;
    default:
      break;
  }
}

void EnableOptionalState(const Pod& pod) {
  if (pod.cullFace != 0) {
    glEnable(GL_CULL_FACE);
    glCullFace(pod.cullFace);
  }
  if (pod.restartIndex != 0) {
    glEnable(GL_PRIMITIVE_RESTART);
    glPrimitiveRestartIndex(pod.restartIndex);
  }
}

void DisableOptionalState(const Pod& pod) {
  if (pod.restartIndex != 0) glDisable(GL_PRIMITIVE_RESTART);
  if (pod.cullFace != 0) glDisable(GL_CULL_FACE);
}

void BeginFeedback(const Pod& pod) {
  if (pod.feedbackBuffer == 0) return;
  glEnable(GL_RASTERIZER_DISCARD);
  glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, pod.feedbackBuffer);
  glBeginTransformFeedback(pod.feedbackMode);
}

void EndFeedback(const Pod& pod) {
  if (pod.feedbackBuffer == 0) return;
  glEndTransformFeedback();
  glDisable(GL_RASTERIZER_DISCARD);
  glBindTransformFeedback(GL_TRANSFORM_FEEDBACK, 0);
}

void IssueDraw(const Pod& pod) {
  if (pod.elementBuffer != 0) {
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, pod.elementBuffer);
    glDrawElementsInstanced(pod.mode, pod.count, GL_UNSIGNED_INT, nullptr, pod.instances);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  } else {
    glDrawArraysInstanced(pod.mode, pod.first, pod.count, pod.instances);
  }
}

}  // namespace

UniformObserver* SetUniformObserver(UniformObserver* observer) {
  return uniformObserver.exchange(observer);
}

void BindPodAttributes(GLuint vertexArray, GLuint program, const AttributeTable& attributes) {
  GLint active = 0;
  glGetProgramiv(program, GL_ACTIVE_ATTRIBUTES, &active);
  const GLenum error = glGetError();
  if (error != GL_NO_ERROR) ReportActiveAttribError(error);
  if (active < 1) ReportNoActiveAttribs(program);

  const NamedLocations unconnected = ActiveAttributeLocations(program, active);
  glBindVertexArray(vertexArray);
  NamedLocations remaining;
  for (const auto& [name, location] : unconnected) {
    const auto source = attributes.find(name);
    if (source == attributes.end()) {
      remaining.emplace_back(name, location);
      continue;
    }
    ConnectAttribute(location, source->second);
  }
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindVertexArray(0);
  if (!remaining.empty()) ReportAttributesNotSet(NamesOf(remaining));
}

void ApplyPodUniforms(GLuint program, const UniformTable& uniforms) {
  GLint linked = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (linked != GL_TRUE) ReportProgramNotLinked(program);
  GLint active = 0;
  glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &active);
  if (active < 1) ReportNoActiveUniforms(program);

  const NamedLocations activeLocations = ActiveUniformLocations(program, active);
  GLint unit = 0;
  glUseProgram(program);
  UniformObserver* observer = uniformObserver.load();
  NamedLocations unset;
  for (const auto& [name, location] : activeLocations) {
    const auto value = uniforms.find(name);
    if (value == uniforms.end()) {
      unset.emplace_back(name, location);
      continue;
    }
    ApplyValue(location, value->second, unit);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
      ReportUniformError(name, location, error, FormatUniformValue(value->second));
    }
    if (observer) observer->OnUniformApplied(program, name, value->second);
  }
  if (!unset.empty()) ReportUniformsNotSet(active, NamesOf(unset));
}

void DrawPod(const RenderTarget& target, const Viewport& viewport, const Pod& pod) {
  GLuint vertexArray = 0;
  glGenVertexArrays(1, &vertexArray);
  BindPodAttributes(vertexArray, pod.program, pod.attributes);
  ApplyPodUniforms(pod.program, pod.uniforms);
  EnableOptionalState(pod);
  // Every pass replaces the target's pixels.
  glDisable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glViewport(viewport.x, viewport.y, viewport.width, viewport.height);
  glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  glUseProgram(pod.program);
  glBindVertexArray(vertexArray);
  BeginFeedback(pod);
  IssueDraw(pod);
  EndFeedback(pod);
  DisableOptionalState(pod);
  glBindVertexArray(0);
  glUseProgram(0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glDeleteVertexArrays(1, &vertexArray);
}

}  // namespace solvane
