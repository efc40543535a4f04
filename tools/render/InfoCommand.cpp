#include "tools/render/InfoCommand.h"

#include <cstdio>
#include <string>

namespace solvane::cli {
namespace {

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

// The About text separates its first line with a carriage return; show it as a line break.
std::string Printable(std::string text) {
  for (char& c : text) {
    if (c == '\r') c = '\n';
  }
  return text;
}

}  // namespace

std::string VersionText(uint32_t word) {
  // The version's low three bits sit at 19, its high four at 26 (as PF_VERSION packs them).
  const uint32_t version = ((word >> 19) & 0x7) | (((word >> 26) & 0xF) << 3);
  return std::to_string(version) + "." + std::to_string((word >> 15) & 0xF) + "." +
         std::to_string((word >> 11) & 0xF) + " (stage " + std::to_string((word >> 9) & 0x3) +
         ", build " + std::to_string(word & 0x1FF) + ", " + Hex(word) + ")";
}

PF_Err PrintModuleInfo(host::Host& host, std::ostream& out) {
  const host::RegistrationInfo& r = host.Registration();
  out << "Registration resource\n"
      << "  kind:            " << r.kind << "\n"
      << "  name:            " << r.name << "\n"
      << "  category:        " << r.category << "\n"
      << "  match name:      " << r.matchName << "\n"
      << "  entry point:     " << r.entryPoint << "\n"
      << "  PiPL version:    " << r.piplMajor << "." << r.piplMinor << "\n"
      << "  spec version:    " << r.specMajor << "." << r.specMinor << "\n"
      << "  effect version:  " << VersionText(r.effectVersion) << "\n"
      << "  info flags:      " << Hex(r.infoFlags) << "\n"
      << "  out flags:       " << Hex(r.outFlags) << "\n"
      << "  out flags 2:     " << Hex(r.outFlags2) << "\n"
      << "  reserved info:   " << Hex(r.reservedInfo) << "\n";
  std::string about;
  const PF_Err err = host.About(&about);
  if (err != PF_Err_NONE) return err;
  out << "About\n" << Printable(about) << "\n";
  return PF_Err_NONE;
}

}  // namespace solvane::cli
