#include "host/PeImage.h"

#include <algorithm>

namespace solvane::host {
namespace {

constexpr uint16_t kPe32Magic = 0x10b;
constexpr uint16_t kPe32PlusMagic = 0x20b;
constexpr uint32_t kCoffHeaderSize = 20;
constexpr uint32_t kSectionHeaderSize = 40;

template <typename T>
T Load(const std::vector<uint8_t>& file, uint64_t offset, const char* what) {
  if (offset > file.size() || file.size() - offset < sizeof(T)) {
    throw HostError(std::string("PE file is truncated in its ") + what);
  }
  T value;
  std::memcpy(&value, file.data() + offset, sizeof(T));
  return value;
}

}  // namespace

PeImage::PeImage(const std::vector<uint8_t>& file) : file_(file) {
  if (file.size() < 64 || file[0] != 'M' || file[1] != 'Z') {
    throw HostError("not a PE file (no MZ header)");
  }
  const uint32_t peAt = Load<uint32_t>(file, 0x3C, "DOS header");
  if (Load<uint32_t>(file, peAt, "PE signature") != 0x00004550) {
    throw HostError("not a PE file (no PE signature)");
  }
  const uint64_t coff = uint64_t(peAt) + 4;
  machine_ = Load<uint16_t>(file, coff, "COFF header");
  const uint16_t sectionCount = Load<uint16_t>(file, coff + 2, "COFF header");
  const uint16_t optionalSize = Load<uint16_t>(file, coff + 16, "COFF header");
  characteristics_ = Load<uint16_t>(file, coff + 18, "COFF header");

  const uint64_t optional = coff + kCoffHeaderSize;
  const uint16_t magic = Load<uint16_t>(file, optional, "optional header");
  if (magic != kPe32Magic && magic != kPe32PlusMagic) {
    throw HostError("PE optional header has unknown magic " + std::to_string(magic));
  }
  pe32Plus_ = magic == kPe32PlusMagic;
  // The directory count and the directories follow the fields whose width differs.
  const uint32_t countAt = pe32Plus_ ? 108 : 92;
  const uint32_t count = Load<uint32_t>(file, optional + countAt, "optional header");
  if (optionalSize < countAt + 4 || (optionalSize - countAt - 4) / 8 < count) {
    throw HostError("PE optional header is too small for its data directories");
  }
  for (uint32_t i = 0; i < count && i < 16; ++i) {
    const uint64_t at = optional + countAt + 4 + uint64_t(i) * 8;
    directories_.push_back({Load<uint32_t>(file, at, "data directories"),
                            Load<uint32_t>(file, at + 4, "data directories")});
  }
  ReadSections(optional + optionalSize, sectionCount);
}

void PeImage::ReadSections(uint64_t at, uint16_t count) {
  for (uint16_t i = 0; i < count; ++i) {
    const uint64_t header = at + uint64_t(i) * kSectionHeaderSize;
    Section s{Load<uint32_t>(file_, header + 12, "section table"),
              Load<uint32_t>(file_, header + 8, "section table"),
              Load<uint32_t>(file_, header + 16, "section table"),
              Load<uint32_t>(file_, header + 20, "section table")};
    if (s.rawOffset > file_.size() || file_.size() - s.rawOffset < s.rawSize) {
      throw HostError("PE section " + std::to_string(i) + " lies outside the file");
    }
    sections_.push_back(s);
  }
}

PeDirectory PeImage::Directory(unsigned index) const {
  return index < directories_.size() ? directories_[index] : PeDirectory{};
}

uint64_t PeImage::Offset(uint32_t rva, uint32_t size) const {
  for (const Section& s : sections_) {
    const uint64_t span = std::max(s.virtualSize, s.rawSize);
    if (rva < s.virtualAddress || rva - s.virtualAddress >= span) continue;
    // A section's tail past its file data is zero-filled in memory but not in the file.
    const uint64_t into = rva - s.virtualAddress;
    if (into + size <= s.rawSize) return s.rawOffset + into;
    break;
  }
  throw HostError("PE data at address " + std::to_string(rva) + " (" + std::to_string(size) +
                  " bytes) lies outside the file's sections");
}

std::vector<uint8_t> PeImage::Bytes(uint32_t rva, uint32_t size) const {
  const uint64_t at = Offset(rva, size);
  return {file_.begin() + long(at), file_.begin() + long(at + size)};
}

std::string PeImage::String(uint32_t rva, uint32_t limit) const {
  std::string text;
  for (uint32_t i = 0; i < limit && rva + i >= rva; ++i) {
    const char c = Read<char>(rva + i);
    if (c == '\0') return text;
    text.push_back(c);
  }
  throw HostError("PE string at address " + std::to_string(rva) + " is not terminated");
}

}  // namespace solvane::host
