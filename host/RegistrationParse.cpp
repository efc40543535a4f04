#include <algorithm>

#include "host/HostError.h"
#include "host/Registration.h"

namespace solvane::host {
namespace {

class ByteReader {
 public:
  explicit ByteReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

  uint16_t U16(const char* what) {
    Need(2, what);
    uint16_t v = uint16_t(bytes_[pos_] | bytes_[pos_ + 1] << 8);
    pos_ += 2;
    return v;
  }
  uint32_t U32(const char* what) {
    Need(4, what);
    uint32_t v = uint32_t(bytes_[pos_]) | uint32_t(bytes_[pos_ + 1]) << 8 |
                 uint32_t(bytes_[pos_ + 2]) << 16 | uint32_t(bytes_[pos_ + 3]) << 24;
    pos_ += 4;
    return v;
  }
  // Four-character codes are stored reversed; this returns them in reading order.
  std::string Code(const char* what) {
    Need(4, what);
    std::string code{char(bytes_[pos_ + 3]), char(bytes_[pos_ + 2]), char(bytes_[pos_ + 1]),
                     char(bytes_[pos_])};
    pos_ += 4;
    return code;
  }
  std::vector<uint8_t> Bytes(size_t count, const char* what) {
    Need(count, what);
    std::vector<uint8_t> out(bytes_.begin() + long(pos_), bytes_.begin() + long(pos_ + count));
    pos_ += count;
    return out;
  }
  void Skip(size_t count, const char* what) { Bytes(count, what); }
  bool AtEnd() const { return pos_ == bytes_.size(); }
  size_t Position() const { return pos_; }

 private:
  void Need(size_t count, const char* what) {
    if (bytes_.size() - pos_ < count) {
      throw HostError("registration resource is truncated in " + std::string(what));
    }
  }
  const std::vector<uint8_t>& bytes_;
  size_t pos_ = 0;
};

uint32_t Word32(const PiplProperty& p) {
  if (p.data.size() < 4) throw HostError("registration property '" + p.key + "' is too short");
  return uint32_t(p.data[0]) | uint32_t(p.data[1]) << 8 | uint32_t(p.data[2]) << 16 |
         uint32_t(p.data[3]) << 24;
}

uint16_t Half(const PiplProperty& p, size_t at) {
  if (p.data.size() < at + 2) {
    throw HostError("registration property '" + p.key + "' is too short");
  }
  return uint16_t(p.data[at] | p.data[at + 1] << 8);
}

std::string PascalText(const PiplProperty& p) {
  if (p.data.empty() || p.data[0] + 1u > p.data.size()) {
    throw HostError("registration property '" + p.key + "' holds a malformed string");
  }
  return std::string(p.data.begin() + 1, p.data.begin() + 1 + p.data[0]);
}

std::string CText(const PiplProperty& p) {
  const auto end = std::find(p.data.begin(), p.data.end(), uint8_t{0});
  if (end == p.data.end()) {
    throw HostError("registration property '" + p.key + "' holds an unterminated string");
  }
  return std::string(p.data.begin(), end);
}

std::string ReversedCode(const PiplProperty& p) {
  if (p.data.size() != 4) throw HostError("registration property 'kind' is malformed");
  return {char(p.data[3]), char(p.data[2]), char(p.data[1]), char(p.data[0])};
}

void Interpret(const PiplProperty& p, RegistrationInfo& info) {
  if (p.key == "kind") info.kind = ReversedCode(p);
  else if (p.key == "name") info.name = PascalText(p);
  else if (p.key == "catg") info.category = PascalText(p);
  else if (p.key == "eMNA") info.matchName = PascalText(p);
  else if (p.key == "8664") info.entryPoint = CText(p);
  else if (p.key == "ePVR") info.piplMajor = Half(p, 0), info.piplMinor = Half(p, 2);
  else if (p.key == "eSVR") info.specMajor = Half(p, 0), info.specMinor = Half(p, 2);
  else if (p.key == "eVER") info.effectVersion = Word32(p);
  else if (p.key == "eINF") info.infoFlags = Half(p, 0);
  else if (p.key == "eGLO") info.outFlags = Word32(p);
  else if (p.key == "eGL2") info.outFlags2 = Word32(p);
  else if (p.key == "aeFL") info.reservedInfo = Word32(p);
}

}  // namespace

RegistrationInfo ParseRegistrationResource(const std::vector<uint8_t>& bytes) {
  ByteReader in(bytes);
  RegistrationInfo info;
  if (in.U16("the resource version") != 1) throw HostError("unknown registration resource version");
  in.U32("the property list version");
  const uint32_t count = in.U32("the property count");
  for (uint32_t i = 0; i < count; ++i) {
    PiplProperty p;
    p.vendor = in.Code("a property's vendor");
    p.key = in.Code("a property's key");
    p.id = in.U32("a property's id");
    const uint32_t length = in.U32("a property's length");
    p.data = in.Bytes(length, "a property's data");
    in.Skip((4 - length % 4) % 4, "a property's fill");
    Interpret(p, info);
    info.properties.push_back(std::move(p));
  }
  if (!in.AtEnd()) throw HostError("registration resource has bytes after its last property");
  return info;
}

}  // namespace solvane::host
