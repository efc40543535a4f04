#include "shells/ae/resources/RegistrationResource.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "shells/ae/Identity.h"

namespace solvane {
namespace {

class ResourceWriter {
 public:
  void U16(uint16_t v) { Bytes({uint8_t(v), uint8_t(v >> 8)}); }
  void U32(uint32_t v) { Bytes({uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}); }
  // Four-character codes are stored with their characters in reverse order.
  void Code(std::string_view code) {
    for (auto it = code.rbegin(); it != code.rend(); ++it) out_.push_back(uint8_t(*it));
  }
  void Property(std::string_view key, const std::vector<uint8_t>& data) {
    Code("8BIM");
    Code(key);
    U32(0);
    U32(uint32_t(data.size()));
    out_.insert(out_.end(), data.begin(), data.end());
  }
  std::vector<uint8_t> Take() { return std::move(out_); }

 private:
  void Bytes(std::initializer_list<uint8_t> bytes) { out_.insert(out_.end(), bytes); }
  std::vector<uint8_t> out_;
};

void PadToFour(std::vector<uint8_t>& data) {
  while (data.size() % 4 != 0) data.push_back(0);
}

std::vector<uint8_t> Word32(uint32_t v) {
  return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

std::vector<uint8_t> TwoWords16(uint16_t first, uint16_t second) {
  return {uint8_t(first), uint8_t(first >> 8), uint8_t(second), uint8_t(second >> 8)};
}

// A length byte, the characters, zero bytes to a multiple of four (counted in the length).
std::vector<uint8_t> PascalString(std::string_view text) {
  std::vector<uint8_t> data(1 + text.size());
  data[0] = uint8_t(text.size());
  std::copy(text.begin(), text.end(), data.begin() + 1);
  PadToFour(data);
  return data;
}

std::vector<uint8_t> CString(std::string_view text) {
  std::vector<uint8_t> data(text.begin(), text.end());
  data.push_back(0);
  PadToFour(data);
  return data;
}

std::vector<uint8_t> ReversedCode(std::string_view code) { return {code.rbegin(), code.rend()}; }

}  // namespace

std::vector<uint8_t> EncodeRegistrationResource() {
  using namespace identity;
  ResourceWriter w;
  w.U16(1);   // resource version
  w.U32(0);   // property list version
  w.U32(12);  // property count
  w.Property("kind", ReversedCode("eFKT"));
  w.Property("name", PascalString(kEffectName));
  w.Property("catg", PascalString(kCategory));
  w.Property("8664", CString(kEntryPointName));
  w.Property("ePVR", TwoWords16(kPiplMajorVersion, kPiplMinorVersion));
  w.Property("eSVR", TwoWords16(kSpecMajorVersion, kSpecMinorVersion));
  w.Property("eVER", Word32(kVersionWord));
  // The one 16-bit value declares length 2; two fill bytes follow it.
  w.Property("eINF", {uint8_t(kInfoFlags), uint8_t(kInfoFlags >> 8)});
  w.U16(0);
  w.Property("eGLO", Word32(kOutFlags));
  w.Property("eGL2", Word32(kOutFlags2));
  w.Property("eMNA", PascalString(kMatchName));
  w.Property("aeFL", Word32(kReservedInfo));
  return w.Take();
}

}  // namespace solvane
