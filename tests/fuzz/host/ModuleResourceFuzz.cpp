// Module files as the host reads them before loading: an ELF64 file's section table and
// its .pipl section, or a PE file's headers, section table and resource tree, down to the
// registration resource and its parse. The PE manifest (type 24) is looked up as well, so
// that numeric types and other ids walk the tree.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/HostError.h"
#include "host/PeResources.h"
#include "host/Registration.h"

using namespace solvane::host;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  try {
    ModuleRegistration(bytes, "module");
  } catch (const HostError&) {
  }
  if (size >= 2 && data[0] == 'M' && data[1] == 'Z') {
    try {
      ReadPeResource(bytes, "#24", 2, 1033);
    } catch (const HostError&) {
    }
  }
  return 0;
}
