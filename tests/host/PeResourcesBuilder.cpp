#include "PeResourcesBuilder.h"

#include <cstring>

namespace solvane::test {
namespace {

constexpr uint32_t kSectionRva = 0x1000;
constexpr uint32_t kSectionFileOffset = 0x200;

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  if (b.size() < at + 2) b.resize(at + 2);
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

// A directory header with `count` entries at `at`; entries are filled in by the caller.
void PutDirectory(std::vector<uint8_t>& tree, size_t at, uint32_t named, uint32_t ids) {
  Put32(tree, at + 12, 0);
  Put16(tree, at + 12, named);
  Put16(tree, at + 14, ids);
  tree.resize(at + 16 + (named + ids) * 8);
}

bool SameType(const FakeResource& a, const FakeResource& b) {
  return a.typeName == b.typeName && (!a.typeName.empty() || a.typeId == b.typeId);
}

// Lays out root -> types -> ids -> languages -> data entries -> names -> data.
std::vector<uint8_t> BuildTree(const std::vector<FakeResource>& rs,
                               std::vector<uint32_t>& entryAt) {
  std::vector<const FakeResource*> types;
  for (const auto& r : rs) {
    bool seen = false;
    for (auto* t : types) seen = seen || SameType(*t, r);
    if (!seen) types.push_back(&r);
  }
  std::vector<uint8_t> tree;
  uint32_t named = 0;
  for (auto* t : types) named += t->typeName.empty() ? 0 : 1;
  PutDirectory(tree, 0, named, uint32_t(types.size()) - named);
  std::vector<std::pair<size_t, std::string>> namesToWrite;
  std::vector<std::pair<size_t, const FakeResource*>> dataToWrite;
  entryAt.assign(rs.size(), 0);
  for (size_t t = 0; t < types.size(); ++t) {
    const size_t typeDir = tree.size();
    std::vector<uint32_t> ids;
    for (const auto& r : rs) {
      if (!SameType(r, *types[t])) continue;
      bool seen = false;
      for (uint32_t id : ids) seen = seen || id == r.id;
      if (!seen) ids.push_back(r.id);
    }
    if (types[t]->typeName.empty()) {
      Put32(tree, 16 + t * 8, types[t]->typeId);
    } else {
      namesToWrite.push_back({16 + t * 8, types[t]->typeName});
    }
    Put32(tree, 16 + t * 8 + 4, 0x80000000u | uint32_t(typeDir));
    PutDirectory(tree, typeDir, 0, uint32_t(ids.size()));
    for (size_t i = 0; i < ids.size(); ++i) {
      const size_t idDir = tree.size();
      Put32(tree, typeDir + 16 + i * 8, ids[i]);
      Put32(tree, typeDir + 16 + i * 8 + 4, 0x80000000u | uint32_t(idDir));
      std::vector<size_t> members;
      for (size_t k = 0; k < rs.size(); ++k) {
        if (SameType(rs[k], *types[t]) && rs[k].id == ids[i]) members.push_back(k);
      }
      PutDirectory(tree, idDir, 0, uint32_t(members.size()));
      for (size_t m = 0; m < members.size(); ++m) {
        Put32(tree, idDir + 16 + m * 8, rs[members[m]].language);
        dataToWrite.push_back({idDir + 16 + m * 8 + 4, &rs[members[m]]});
      }
    }
  }
  for (auto& [slot, r] : dataToWrite) {
    const size_t entry = tree.size();
    Put32(tree, slot, uint32_t(entry));
    tree.resize(entry + 16);
    entryAt[size_t(r - rs.data())] = uint32_t(entry);
  }
  for (auto& [slot, name] : namesToWrite) {
    const size_t at = tree.size();
    Put32(tree, slot, 0x80000000u | uint32_t(at));
    Put16(tree, at, uint32_t(name.size()));
    for (size_t c = 0; c < name.size(); ++c) Put16(tree, at + 2 + c * 2, uint8_t(name[c]));
  }
  for (size_t k = 0; k < rs.size(); ++k) {
    tree.resize((tree.size() + 3) & ~size_t(3));
    const size_t at = tree.size();
    tree.insert(tree.end(), rs[k].data.begin(), rs[k].data.end());
    Put32(tree, entryAt[k], kSectionRva + uint32_t(at));
    Put32(tree, entryAt[k] + 4, uint32_t(rs[k].data.size()));
  }
  return tree;
}

}  // namespace

FakePe BuildFakePe(const std::vector<FakeResource>& resources, bool pe32Plus) {
  FakePe pe;
  std::vector<uint8_t>& b = pe.bytes;
  b.assign(kSectionFileOffset, 0);
  b[0] = 'M';
  b[1] = 'Z';
  Put32(b, 0x3C, 0x40);
  std::memcpy(b.data() + 0x40, "PE\0\0", 4);
  const size_t coff = 0x44;
  const uint32_t countAt = pe32Plus ? 108 : 92;
  const uint32_t optionalSize = countAt + 4 + 16 * 8;
  Put16(b, coff, 0x8664);
  Put16(b, coff + 2, 1);
  Put16(b, coff + 16, optionalSize);
  Put16(b, coff + 18, 0x2022);
  const size_t optional = coff + 20;
  Put16(b, optional, pe32Plus ? 0x20b : 0x10b);
  Put32(b, optional + countAt, 16);
  std::vector<uint8_t> tree = BuildTree(resources, pe.dataEntryAt);
  pe.resourceDirectoryAt = uint32_t(optional + countAt + 4 + 2 * 8);
  Put32(b, pe.resourceDirectoryAt, kSectionRva);
  Put32(b, pe.resourceDirectoryAt + 4, uint32_t(tree.size()));
  const size_t section = optional + optionalSize;
  std::memcpy(b.data() + section, ".rsrc\0\0\0", 8);
  Put32(b, section + 8, uint32_t(tree.size()));
  Put32(b, section + 12, kSectionRva);
  Put32(b, section + 16, uint32_t(tree.size()));
  Put32(b, section + 20, kSectionFileOffset);
  b.insert(b.end(), tree.begin(), tree.end());
  pe.sectionFileOffset = kSectionFileOffset;
  pe.sectionRva = kSectionRva;
  for (uint32_t& at : pe.dataEntryAt) at += kSectionFileOffset;
  return pe;
}

}  // namespace solvane::test
