// Builds small PE32+ (or PE32) files with a chosen resource tree, for testing the PE
// resource reader on files whose every byte the test knows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace solvane::test {

struct FakeResource {
  std::string typeName;  // empty: the type is typeId
  uint32_t typeId = 0;
  uint32_t id = 0;
  uint32_t language = 0;
  std::vector<uint8_t> data;
};

struct FakePe {
  std::vector<uint8_t> bytes;
  uint32_t sectionFileOffset = 0;  // where the resource tree starts in `bytes`
  uint32_t sectionRva = 0;
  uint32_t resourceDirectoryAt = 0;   // file offset of the resource data directory entry
  std::vector<uint32_t> dataEntryAt;  // file offsets of the data entries, in input order
};

// One .rsrc section holding `resources`, grouped by type, then id, then language in the
// order given.
FakePe BuildFakePe(const std::vector<FakeResource>& resources, bool pe32Plus = true);

}  // namespace solvane::test
