// The headers and section table of a PE (Windows) module file, read from its bytes before
// anything is loaded: enough to find a data directory and read what it points at.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "host/HostError.h"

namespace solvane::host {

inline constexpr uint16_t kPeMachineAmd64 = 0x8664;
inline constexpr uint16_t kPeFileDll = 0x2000;  // COFF characteristics bit
inline constexpr unsigned kPeExportDirectory = 0;
inline constexpr unsigned kPeImportDirectory = 1;
inline constexpr unsigned kPeResourceDirectory = 2;

struct PeDirectory {
  uint32_t rva = 0;
  uint32_t size = 0;
};

class PeImage {
 public:
  // Checks the DOS, COFF and optional headers and the section table; throws HostError
  // naming what is wrong. `file` must outlive the image.
  explicit PeImage(const std::vector<uint8_t>& file);

  uint16_t Machine() const { return machine_; }
  uint16_t Characteristics() const { return characteristics_; }
  bool IsPe32Plus() const { return pe32Plus_; }
  // The data directory `index`, or {0, 0} when the file has fewer directories.
  PeDirectory Directory(unsigned index) const;

  // The file offset of `size` bytes at relative virtual address `rva`; throws HostError
  // unless all of them lie in the file data of one section.
  uint64_t Offset(uint32_t rva, uint32_t size) const;

  template <typename T>
  T Read(uint32_t rva) const {
    T value;
    std::memcpy(&value, file_.data() + Offset(rva, sizeof(T)), sizeof(T));
    return value;
  }
  std::vector<uint8_t> Bytes(uint32_t rva, uint32_t size) const;
  // A zero-terminated string at `rva`, at most `limit` characters long.
  std::string String(uint32_t rva, uint32_t limit = 4096) const;

 private:
  struct Section {
    uint32_t virtualAddress;
    uint32_t virtualSize;
    uint32_t rawSize;
    uint32_t rawOffset;
  };
  void ReadSections(uint64_t at, uint16_t count);

  const std::vector<uint8_t>& file_;
  uint16_t machine_ = 0;
  uint16_t characteristics_ = 0;
  bool pe32Plus_ = false;
  std::vector<PeDirectory> directories_;
  std::vector<Section> sections_;
};

}  // namespace solvane::host
