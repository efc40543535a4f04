// Compiled with the render core's include paths only, by a test that expects it to fail:
// the core cannot see After Effects' declarations.
#include "AE_Effect.h"
