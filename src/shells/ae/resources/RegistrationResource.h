// The registration resource (PiPL) the host reads before it calls any code: encoded from
// the effect's identity at build time and embedded in the module.
#pragma once

#include <cstdint>
#include <vector>

namespace solvane {

// The resource's bytes: version 1, list version 0, then 12 properties of vendor '8BIM'.
std::vector<uint8_t> EncodeRegistrationResource();

}  // namespace solvane
