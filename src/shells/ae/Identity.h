// Who the effect is to After Effects: the shared identity, with the match name, the entry
// point, the packed version and the global flags. The entry point, the About text and the
// registration resource all read these, so they cannot drift.
#pragma once

#include <cstdint>

#include "AE_Effect.h"
#include "core/controls/Identity.h"

namespace solvane::identity {

inline constexpr char kMatchName[] = "QRSV";
inline constexpr char kEntryPointName[] = "EntryPointFunc";

// The host's packed version word: version, sub-version, bug level, stage, build.
inline constexpr uint32_t kVersionWord =
    (uint32_t(kMajorVersion) << 19) | (uint32_t(kMinorVersion) << 15) |
    (uint32_t(kBugVersion) << 11) | (uint32_t(kStage) << 9) | uint32_t(kBuild);
static_assert(kVersionWord == 0x00080001);

// Send-update-params-UI for every host but Premiere Pro, which is told the effect is
// obsolete there instead.
inline constexpr uint32_t kOutFlags = PF_OutFlag_SEND_UPDATE_PARAMS_UI;
inline constexpr uint32_t kOutFlagsPremiere = PF_OutFlag_I_AM_OBSOLETE;
inline constexpr uint32_t kOutFlags2 =
    PF_OutFlag2_PARAM_GROUP_START_COLLAPSED_FLAG | PF_OutFlag2_SUPPORTS_SMART_RENDER |
    PF_OutFlag2_FLOAT_COLOR_AWARE | PF_OutFlag2_SUPPORTS_THREADED_RENDERING;
inline constexpr uint32_t kPremiereApplicationId = 0x50724D72;  // 'PrMr'

// Registration-resource-only values.
inline constexpr uint16_t kPiplMajorVersion = 2;
inline constexpr uint16_t kPiplMinorVersion = 0;
inline constexpr uint16_t kSpecMajorVersion = 13;
inline constexpr uint16_t kSpecMinorVersion = 25;
inline constexpr uint16_t kInfoFlags = 0;
inline constexpr uint32_t kReservedInfo = 8;

}  // namespace solvane::identity
