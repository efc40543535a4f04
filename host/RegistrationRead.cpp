#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/HostError.h"
#include "host/PeResources.h"
#include "host/Registration.h"

namespace solvane::host {
namespace {

// A module is a regular file: a folder, a device or a FIFO would be read without end or
// fail with the stream library's own words.
void CheckModuleFile(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  const auto refuse = [&path](const std::string& reason) {
    throw HostError("cannot open module '" + path + "': " + reason);
  };
  if (std::filesystem::is_directory(status)) refuse("is a directory");
  if (error && error != std::errc::no_such_file_or_directory) refuse(error.message());
  if (!std::filesystem::exists(status)) refuse("there is no such file");
  if (!std::filesystem::is_regular_file(status)) refuse("not a regular file");
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  CheckModuleFile(path);
  std::ifstream file(path, std::ios::binary);
  if (!file) throw HostError("cannot open module '" + path + "'");
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool IsElf(const std::vector<uint8_t>& b) {
  return b.size() >= 16 && b[0] == 0x7f && b[1] == 'E' && b[2] == 'L' && b[3] == 'F';
}

// An ELF that is not 64-bit little-endian is named as what it is.
std::string ElfKind(const std::vector<uint8_t>& b) {
  const std::string bits = b[4] == 1 ? "32-bit" : b[4] == 2 ? "64-bit" : "unknown-class";
  const std::string order = b[5] == 2 ? " big-endian" : "";
  return bits + order + " ELF";
}

template <typename T>
T Load(const std::vector<uint8_t>& bytes, uint64_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) {
    throw HostError("module file is truncated");
  }
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

bool IsElf64(const std::vector<uint8_t>& b) {
  return b.size() >= 64 && b[0] == 0x7f && b[1] == 'E' && b[2] == 'L' && b[3] == 'F' &&
         b[4] == 2 && b[5] == 1;
}

bool IsPe(const std::vector<uint8_t>& b) { return b.size() >= 64 && b[0] == 'M' && b[1] == 'Z'; }

// ELF64 little-endian section lookup by name through the section-name string table.
std::vector<uint8_t> ElfSection(const std::vector<uint8_t>& b, const std::string& path,
                                const std::string& name) {
  const uint64_t shoff = Load<uint64_t>(b, 0x28);
  const uint16_t shentsize = Load<uint16_t>(b, 0x3A);
  const uint16_t shnum = Load<uint16_t>(b, 0x3C);
  const uint16_t shstrndx = Load<uint16_t>(b, 0x3E);
  if (shentsize < 64 || shstrndx >= shnum) throw HostError("'" + path + "' has no section table");
  const uint64_t strtab = Load<uint64_t>(b, shoff + uint64_t(shstrndx) * shentsize + 0x18);
  for (uint16_t i = 0; i < shnum; ++i) {
    const uint64_t header = shoff + uint64_t(i) * shentsize;
    const uint32_t nameOffset = Load<uint32_t>(b, header);
    const uint64_t at = strtab + nameOffset;
    if (at >= b.size()) throw HostError("'" + path + "' has a damaged section table");
    const char* sectionName = reinterpret_cast<const char*>(b.data() + at);
    if (strnlen(sectionName, b.size() - at) != name.size() || name != sectionName) continue;
    const uint64_t offset = Load<uint64_t>(b, header + 0x18);
    const uint64_t size = Load<uint64_t>(b, header + 0x20);
    if (offset > b.size() || b.size() - offset < size) {
      throw HostError("section " + name + " of '" + path + "' lies outside the file");
    }
    return {b.begin() + long(offset), b.begin() + long(offset + size)};
  }
  throw HostError("'" + path + "' has no " + name + " section (no registration resource)");
}

}  // namespace

std::vector<uint8_t> ReadElfSection(const std::string& path, const std::string& name) {
  const std::vector<uint8_t> bytes = ReadWholeFile(path);
  if (!IsElf64(bytes)) throw HostError("'" + path + "' is not a 64-bit ELF module");
  return ElfSection(bytes, path, name);
}

RegistrationInfo ReadModuleRegistration(const std::string& path) {
  return ModuleRegistration(ReadWholeFile(path), path);
}

RegistrationInfo ModuleRegistration(const std::vector<uint8_t>& bytes, const std::string& path) {
  std::vector<uint8_t> resource;
  if (IsElf64(bytes)) {
    resource = ElfSection(bytes, path, ".pipl");
  } else if (IsPe(bytes)) {
    try {
      resource = ReadPeResource(bytes, "PIPL", 16000, 1033);
    } catch (const HostError& e) {
      throw HostError("'" + path + "': " + e.what());
    }
  } else if (IsElf(bytes)) {
    throw HostError("'" + path + "' is a " + ElfKind(bytes) +
                    " module; this host loads 64-bit little-endian modules (x86-64)");
  } else {
    throw HostError("'" + path + "' is neither an ELF nor a PE module");
  }
  RegistrationInfo info;
  try {
    info = ParseRegistrationResource(resource);
  } catch (const HostError& e) {
    throw HostError("'" + path + "': " + e.what());
  }
  if (info.kind != "eFKT") {
    throw HostError("'" + path + "' is not an After Effects effect (kind '" + info.kind + "')");
  }
  if (info.entryPoint.empty()) throw HostError("'" + path + "' names no entry point");
  return info;
}

}  // namespace solvane::host
