// One prepared draw ("pod"): geometry sources by attribute name, uniform values by uniform
// name, and the draw itself. Before drawing, the program is asked which attributes and
// uniforms it uses; they are connected by name and whatever is left unconnected is printed.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "RenderTarget.h"
#include "UniformValue.h"
#include "GLApi.h"

namespace solvane {

// One vertex attribute's data; it starts at offset 0 of the buffer.
struct AttributeSource {
  GLuint buffer = 0;
  GLint components = 0;
  GLenum componentType = 0;
  GLsizei stride = 0;
};

using AttributeTable = std::map<std::string, AttributeSource, std::less<>>;

// Defaults are those of the full-screen quad.
struct Pod {
  GLenum mode = GL_TRIANGLE_STRIP;
  GLint first = 0;
  GLsizei count = 4;
  GLuint elementBuffer = 0;   // 0: draw vertices in order
  GLuint feedbackBuffer = 0;  // 0: no transform feedback
  GLsizei instances = 1;
  GLenum feedbackMode = 0;
  GLuint restartIndex = 0;  // 0: primitive restart off
  GLenum cullFace = 0;      // 0: culling off
  GLuint program = 0;
  UniformTable uniforms;
  AttributeTable attributes;
  std::vector<GLuint> buffers;  // owned by the pod
};

struct Viewport {
  GLint x = 0;
  GLint y = 0;
  GLint width = 0;
  GLint height = 0;
};

// Draws the pod into the target with its own vertex array, which is deleted again.
void DrawPod(const RenderTarget& target, const Viewport& viewport, const Pod& pod);

// Connects the program's active attributes to the sources of the same name inside
// vertexArray; prints the active attributes that found no source.
void BindPodAttributes(GLuint vertexArray, GLuint program, const AttributeTable& attributes);

// Uses the program and applies the recorded value of every active uniform, samplers on
// texture units 0, 1, ... in the order the uniforms are visited; prints the active
// uniforms that have no value. Values of names the program lacks are ignored.
void ApplyPodUniforms(GLuint program, const UniformTable& uniforms);

// Test seam: told about every uniform value ApplyPodUniforms applies, on the thread that
// applies it, so a test can see what a frame actually handed to its programs.
class UniformObserver {
 public:
  virtual ~UniformObserver() = default;
  virtual void OnUniformApplied(GLuint program, std::string_view name,
                                const UniformValue& value) = 0;
};

// Installs the observer for the whole process (null removes it) and returns the previous
// one. The caller keeps the observer alive while it is installed.
UniformObserver* SetUniformObserver(UniformObserver* observer);

}  // namespace solvane
