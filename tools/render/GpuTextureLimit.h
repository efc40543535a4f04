// What the GPU can hold, asked before any input is decoded: the effect keeps each frame in
// float (RGBA32F) textures of the frame's size, so a frame the GPU cannot make such a
// texture for is refused from its header instead of after gigabytes of decoding.
#pragma once

#include <string>

namespace solvane::cli {

// The GPU's answer for one frame size.
struct TextureFit {
  bool asked = false;    // false: no GL context could be made, nothing is known
  int maxSide = 0;       // GL_MAX_TEXTURE_SIZE
  bool fits = false;     // a float RGBA texture of the size can be made (a proxy test)
  std::string renderer;  // GL_RENDERER, for the message
};

// Asks through a GL context of its own, made and released here; the calling thread's
// current context (none, in the tool) is put back.
TextureFit AskTextureFit(int width, int height);

// Throws ImageError naming `path` when the GPU answered that a width x height frame does
// not fit; where no context could be made the module reports that itself, so nothing is
// refused here.
void CheckTextureFit(const std::string& path, int width, int height);

}  // namespace solvane::cli
