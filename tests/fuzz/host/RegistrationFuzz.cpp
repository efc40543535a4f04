// The registration resource's bytes as the host parses them before any of a module's code
// runs: properties, their lengths and fill, and the values read from each known key.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/HostError.h"
#include "host/Registration.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    solvane::host::ParseRegistrationResource(std::vector<uint8_t>(data, data + size));
  } catch (const solvane::host::HostError&) {
  }
  return 0;
}
