// Builds the effect's two GLSL programs from the embedded stage texts and deletes them.
// Every operation needs a current context; programs belong to the context that built them.
#pragma once

#include "core/gl/GLApi.h"

#include <cstdint>

namespace solvane {

// One pointer-sized slot of a stage list. A list is read as pairs (stage type, pointer to
// a null-terminated source) and ends at the first slot that holds 0. Slots that hold no
// known stage type (vertex, fragment, geometry) are passed over.
using ShaderStageSlot = std::uintptr_t;
using ShaderStageList = const ShaderStageSlot*;

// The effect's lists: the shared vertex stage with the pre-process stage, and with the
// ray stage. Set up on first use, safely from any thread, and never changed afterwards.
ShaderStageList PreprocessStageList();
ShaderStageList RayStageList();

// Compiles every stage with prefix in front of its source and links them. A stage that
// does not compile is printed with its log and left out; a failed link yields 0.
GLuint BuildProgram(ShaderStageList stages, const char* prefix);

// programIds[0] receives the pre-process program, programIds[1] the ray program. Null
// builds nothing.
void BuildEffectPrograms(GLuint* programIds);

// Whether the id names a program of the current context that linked; 0 never does.
bool IsProgramLinked(GLuint programId);

// Deletes the program in the slot and sets the slot to 0; null or 0 does nothing.
void DeleteProgram(GLuint* programId);

}  // namespace solvane
