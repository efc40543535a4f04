// The popup items the effect's own code tests for, as their 1-based item numbers. Kept
// apart from the control table so that code which knows no host (the render core) can
// name them too.
#pragma once

#include <cstdint>

namespace solvane {

enum ModeChoice : int32_t { kModeSpin = 1, kModeZoom = 2 };
enum DirectionChoice : int32_t { kDirectionOut = 1, kDirectionIn = 2, kDirectionInOut = 3 };
enum QualityChoice : int32_t { kQualityCustom = 6 };
enum ViewChoice : int32_t { kViewInput = 1, kViewRaysSolo = 2, kViewFinalComposite = 3 };
enum BlendChoice : int32_t { kBlendScreen = 1, kBlendAdd = 2 };

}  // namespace solvane
