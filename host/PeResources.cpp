#include "host/PeResources.h"

#include "host/HostError.h"

namespace solvane::host {

std::vector<uint8_t> ReadPeResource(const std::vector<uint8_t>&, const std::string& type,
                                    uint32_t, uint32_t) {
  throw HostError("reading " + type + " resources from PE modules is not supported yet");
}

}  // namespace solvane::host
