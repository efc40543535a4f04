// On Linux GLEW is not used: a source that includes <GL/glew.h> gets the toolkit's own
// declarations and EGL-loaded entry points instead (GLApi.h), never Debian's GLX-bound GLEW.
#pragma once

#include "core/gl/GLApi.h"
