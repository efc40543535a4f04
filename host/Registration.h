// Reading a module's registration resource (PiPL): finding its bytes in the module file
// and parsing its properties, before any of the module's code runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace solvane::host {

struct PiplProperty {
  std::string vendor;  // characters in reading order, e.g. "8BIM"
  std::string key;     // e.g. "kind"
  uint32_t id = 0;
  std::vector<uint8_t> data;
};

struct RegistrationInfo {
  std::vector<PiplProperty> properties;  // in resource order
  std::string kind;                      // "eFKT" for an After Effects effect
  std::string name;
  std::string category;
  std::string matchName;
  std::string entryPoint;  // the 64-bit Windows entry point name ('8664')
  uint16_t piplMajor = 0, piplMinor = 0;
  uint16_t specMajor = 0, specMinor = 0;
  uint32_t effectVersion = 0;
  uint16_t infoFlags = 0;
  uint32_t outFlags = 0;
  uint32_t outFlags2 = 0;
  uint32_t reservedInfo = 0;
};

// Parses the resource bytes; throws HostError naming what is malformed. The parse must
// end exactly at the last byte.
RegistrationInfo ParseRegistrationResource(const std::vector<uint8_t>& bytes);

// The bytes of section `name` of an ELF64 file, or HostError when the file is not ELF64
// or has no such section.
std::vector<uint8_t> ReadElfSection(const std::string& path, const std::string& name);

// The registration resource of the module file at `path` (ELF section .pipl, or the PE
// resource PIPL/16000/1033), parsed and checked to be an After Effects effect.
RegistrationInfo ReadModuleRegistration(const std::string& path);

// The same for a module file's bytes; `path` only names the file in messages.
RegistrationInfo ModuleRegistration(const std::vector<uint8_t>& bytes, const std::string& path);

}  // namespace solvane::host
