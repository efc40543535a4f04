// The effect description Kdenlive reads to show the filter (frei0r.solvane) with proper
// ranges, units and popups, written from the filter's parameters so the two cannot drift.
#pragma once

#include <string>

namespace solvane::frei0r {

// The whole XML file.
std::string KdenliveEffectXml();

}  // namespace solvane::frei0r
