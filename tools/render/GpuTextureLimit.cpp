#include "tools/render/GpuTextureLimit.h"

#include "core/gl/GLApi.h"
#include "core/gl/OffscreenContext.h"
#include "tools/render/ImageIO.h"
#include "tools/render/Quoted.h"

namespace solvane::cli {

TextureFit AskTextureFit(int width, int height) {
  TextureFit fit;
  const ScopedContextRestore restore;
  OffscreenContext* context = CreateOffscreenContext(nullptr);
  if (context == nullptr) return fit;
  fit.asked = true;
  // Both calls are OpenGL 1.1 entry points, exported by the GL library itself.
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &fit.maxSide);
  const GLubyte* renderer = glGetString(GL_RENDERER);
  fit.renderer = renderer != nullptr ? reinterpret_cast<const char*>(renderer) : "";
  if (width <= fit.maxSide && height <= fit.maxSide) {
    // A proxy texture allocates nothing: its width reads back 0 where the driver could not
    // make the texture (llvmpipe stops at 1 GiB a texture, a quarter of 16384x16384).
    glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGBA32F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
    GLint madeWidth = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &madeWidth);
    fit.fits = madeWidth == width;
  }
  DestroyOffscreenContext(context);
  FreeOffscreenContext(context);
  return fit;
}

void CheckTextureFit(const std::string& path, int width, int height) {
  const TextureFit fit = AskTextureFit(width, height);
  if (!fit.asked || fit.fits) return;
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  const std::string why = width > fit.maxSide || height > fit.maxSide
                              ? "at most " + std::to_string(fit.maxSide) + " pixels a side"
                              : "too large for one float texture";
  throw ImageError("cannot read " + Quoted(path) + ": a " + size + " frame does not fit the GPU (" +
                   fit.renderer + ": " + why + "); a larger --downsample makes it smaller");
}

}  // namespace solvane::cli
