#include "Programs.h"

#include <array>
#include <vector>

#include "Diagnostics.h"
#include "ShaderSources.h"

namespace solvane {
namespace {

// Logs are read into this many bytes, terminator included; longer logs are cut.
constexpr GLsizei kLogSize = 256;

bool IsStageType(ShaderStageSlot slot) {
  return slot == GL_VERTEX_SHADER || slot == GL_FRAGMENT_SHADER || slot == GL_GEOMETRY_SHADER;
}

// The compiled shader, or 0 after printing the compiler's log.
GLuint CompileStage(GLenum type, const char* prefix, const char* source) {
  const GLuint shader = glCreateShader(type);
  const char* texts[] = {prefix, source};
  glShaderSource(shader, 2, texts, nullptr);
  glCompileShader(shader);
  GLint status = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
  if (status == GL_TRUE) return shader;

  std::array<char, kLogSize> log{};
  glGetShaderInfoLog(shader, kLogSize, nullptr, log.data());
  PrintCompileFailed(log.data());
  glDeleteShader(shader);
  return 0;
}

std::vector<GLuint> CompileStages(ShaderStageList stages, const char* prefix) {
  size_t count = 0;
  for (ShaderStageList slot = stages; *slot != 0; ++slot) count += IsStageType(*slot) ? 1 : 0;
  std::vector<GLuint> shaders;
  shaders.reserve(count);
  for (ShaderStageList slot = stages; *slot != 0; ++slot) {
    if (!IsStageType(*slot)) continue;
    const auto type = static_cast<GLenum>(*slot);
    ++slot;  // the source follows its type; a 0 there ends the list instead
    if (*slot == 0) break;
    const GLuint shader = CompileStage(type, prefix, reinterpret_cast<const char*>(*slot));
    if (shader != 0) shaders.push_back(shader);
  }
  return shaders;
}

bool LinkSucceeded(GLuint program) {
  GLint status = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &status);
  if (status == GL_TRUE) return true;
  std::array<char, kLogSize> log{};
  glGetProgramInfoLog(program, kLogSize, nullptr, log.data());
  PrintLinkFailed(log.data());
  return false;
}

}  // namespace

ShaderStageList PreprocessStageList() {
  static const std::array<ShaderStageSlot, 5> list = {
      GL_VERTEX_SHADER, reinterpret_cast<ShaderStageSlot>(kVertexShaderSource), GL_FRAGMENT_SHADER,
      reinterpret_cast<ShaderStageSlot>(kPreprocessShaderSource), 0};
  return list.data();
}

ShaderStageList RayStageList() {
  static const std::array<ShaderStageSlot, 5> list = {
      GL_VERTEX_SHADER, reinterpret_cast<ShaderStageSlot>(kVertexShaderSource), GL_FRAGMENT_SHADER,
      reinterpret_cast<ShaderStageSlot>(kRayShaderSource), 0};
  return list.data();
}

GLuint BuildProgram(ShaderStageList stages, const char* prefix) {
  const std::vector<GLuint> shaders = CompileStages(stages, prefix);
  GLuint program = glCreateProgram();
  for (GLuint shader : shaders) glAttachShader(program, shader);
  glLinkProgram(program);
  const bool linked = LinkSucceeded(program);
  const GLenum error = glGetError();
  if (error != GL_NO_ERROR) PrintProgramError(error);

  // Once linked the program keeps its code; a failed program is of no use to anyone.
  for (GLuint shader : shaders) {
    if (linked) glDetachShader(program, shader);
    glDeleteShader(shader);
  }
  if (!linked) {
    glDeleteProgram(program);
    program = 0;
  }
  return program;
}

bool IsProgramLinked(GLuint programId) {
  if (programId == 0 || glIsProgram(programId) == GL_FALSE) return false;
  GLint status = GL_FALSE;
  glGetProgramiv(programId, GL_LINK_STATUS, &status);
  return status == GL_TRUE;
}

void BuildEffectPrograms(GLuint* programIds) {
  const ShaderStageList preprocess = PreprocessStageList();
  const ShaderStageList rays = RayStageList();
  if (!programIds) return;
  programIds[0] = BuildProgram(preprocess, "");
  programIds[1] = BuildProgram(rays, "");
}

void DeleteProgram(GLuint* programId) {
  if (!programId || *programId == 0) return;
  glDeleteProgram(*programId);
  *programId = 0;
}

}  // namespace solvane
