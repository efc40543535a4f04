// Who the effect is, in every host: its name, its description and its version.
#pragma once

namespace solvane::identity {

inline constexpr char kEffectName[] = "Brindel's Solvane";
inline constexpr char kCategory[] = "Orvanta";
inline constexpr char kDescription[] =
    "Simulates volumetric lighting and radial blurs (zoom & spin).\n\n"
    "Made by Brindel's Solvane engineering, for motion designers.";

inline constexpr int kMajorVersion = 1;
inline constexpr int kMinorVersion = 0;
inline constexpr int kBugVersion = 0;
inline constexpr int kStage = 0;  // develop
inline constexpr int kBuild = 1;

}  // namespace solvane::identity
