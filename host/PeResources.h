// Finding a resource in a PE (Windows) module file by type name, numeric id and language.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace solvane::host {

// The bytes of resource (type, id, language) of a PE32 or PE32+ file; `type` is a name
// ("PIPL", matched without regard to case) or "#N" for the numeric type N ("#24", the
// manifest). Throws HostError when it is absent or the file's resources are damaged.
std::vector<uint8_t> ReadPeResource(const std::vector<uint8_t>& file, const std::string& type,
                                    uint32_t id, uint32_t language);

}  // namespace solvane::host
