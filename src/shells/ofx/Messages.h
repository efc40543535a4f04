// Messages to the user: through the host's message suite where it has one, else on
// standard error, each prefixed with the effect's name.
#pragma once

#include <string>

#include "ofxImageEffect.h"

namespace solvane::ofx {

// `type` is kOfxMessageError, kOfxMessageMessage...; `effect` may be null.
void PostMessage(OfxImageEffectHandle effect, const char* type, const std::string& text);

// Once per process and cause: a frame that fails for a reason that will not go away
// (no OpenGL) says so once, not on every frame of a render.
enum class Once : uint8_t { kNoContext, kNoProgram, kCount };
void PostErrorOnce(OfxImageEffectHandle effect, Once cause, const std::string& text);

}  // namespace solvane::ofx
