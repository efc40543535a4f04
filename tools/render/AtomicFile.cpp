#include "tools/render/AtomicFile.h"

namespace solvane::cli {
namespace {

// Long enough to recognise the target in a listing, short enough that the prefix and the
// numbers never push a name past the 255 bytes file systems allow.
constexpr size_t kNameKept = 64;

// The first `limit` bytes of a UTF-8 name, never cutting a character in two.
std::string Shortened(const std::string& name, size_t limit) {
  if (name.size() <= limit) return name;
  size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  return name.substr(0, end);
}

}  // namespace

std::string TemporaryName(const std::string& fileName, uint64_t process, uint64_t counter) {
  return ".partial-" + std::to_string(process) + "-" + std::to_string(counter) + "-" +
         Shortened(fileName, kNameKept);
}

}  // namespace solvane::cli
