/* The GPU render extension: only the property by which an effect says whether it renders
   through the host's OpenGL. Our own declarations (see ofxCore.h). */
#ifndef SOLVANE_SDK_OFX_GPU_RENDER_H
#define SOLVANE_SDK_OFX_GPU_RENDER_H

#include "ofxImageEffect.h"

/* Values "false", "true" or "needed". */
#define kOfxImageEffectPropOpenGLRenderSupported "OfxImageEffectPropOpenGLRenderSupported"

#endif
