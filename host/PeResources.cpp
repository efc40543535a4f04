#include "host/PeResources.h"

#include <cctype>

#include "host/HostError.h"
#include "host/PeImage.h"

namespace solvane::host {
namespace {

// Both fields of a directory entry use the top bit as a flag: a name (not an id), and a
// subdirectory (not a data entry). The rest is an offset from the start of the tree.
constexpr uint32_t kFlag = 0x80000000u;
constexpr uint32_t kDirectoryHeaderSize = 16;
constexpr uint32_t kEntrySize = 8;

struct Entry {
  uint32_t name;
  uint32_t target;
};

// A resource is named by a string or an id at each level; "#24" means id 24, as in the
// Windows resource functions.
struct Key {
  bool byId;
  uint32_t id;
  std::string name;
};

Key TypeKey(const std::string& type) {
  if (type.size() > 1 && type[0] == '#' && type.size() <= 6 &&
      type.find_first_not_of("0123456789", 1) == std::string::npos) {
    return {true, uint32_t(std::stoul(type.substr(1))), {}};
  }
  std::string upper;
  for (char c : type) upper.push_back(char(std::toupper(static_cast<unsigned char>(c))));
  return {false, 0, upper};
}

class ResourceTree {
 public:
  // The whole tree must lie in one section's file data, which also keeps every address
  // computed from it below 4 GiB.
  ResourceTree(const PeImage& image, PeDirectory where) : image_(image), where_(where) {
    image.Offset(where.rva, where.size);
    if (uint64_t(where.rva) + where.size > 0xFFFFFFFFu) throw Damaged("an impossible size");
  }

  std::vector<Entry> Entries(uint32_t directory) const {
    Within(directory, kDirectoryHeaderSize);
    const uint32_t named = image_.Read<uint16_t>(where_.rva + directory + 12);
    const uint32_t ids = image_.Read<uint16_t>(where_.rva + directory + 14);
    Within(directory + kDirectoryHeaderSize, (named + ids) * kEntrySize);
    std::vector<Entry> entries;
    for (uint32_t i = 0; i < named + ids; ++i) {
      const uint32_t at = where_.rva + directory + kDirectoryHeaderSize + i * kEntrySize;
      entries.push_back({image_.Read<uint32_t>(at), image_.Read<uint32_t>(at + 4)});
    }
    return entries;
  }

  // Names are counted UTF-16 strings; the ones compared here are ASCII.
  std::string Name(const Entry& e) const {
    const uint32_t at = e.name & ~kFlag;
    Within(at, 2);
    const uint32_t length = image_.Read<uint16_t>(where_.rva + at);
    Within(at + 2, length * 2);
    std::string name;
    for (uint32_t i = 0; i < length; ++i) {
      const uint16_t c = image_.Read<uint16_t>(where_.rva + at + 2 + i * 2);
      name.push_back(c < 128 ? char(std::toupper(c)) : '?');
    }
    return name;
  }

  bool Matches(const Entry& e, const Key& key) const {
    if (key.byId) return (e.name & kFlag) == 0 && e.name == key.id;
    return (e.name & kFlag) != 0 && Name(e) == key.name;
  }

  std::string Describe(const Entry& e) const {
    return (e.name & kFlag) != 0 ? "\"" + Name(e) + "\"" : std::to_string(e.name);
  }

  uint32_t Subdirectory(const Entry& e) const {
    if ((e.target & kFlag) == 0) throw Damaged("a data entry where a directory belongs");
    return e.target & ~kFlag;
  }

  std::vector<uint8_t> Data(const Entry& e) const {
    if ((e.target & kFlag) != 0) throw Damaged("a directory where a data entry belongs");
    Within(e.target, 16);
    const uint32_t rva = image_.Read<uint32_t>(where_.rva + e.target);
    const uint32_t size = image_.Read<uint32_t>(where_.rva + e.target + 4);
    return image_.Bytes(rva, size);
  }

 private:
  // Everything of the tree itself lies within the resource directory.
  void Within(uint64_t offset, uint64_t size) const {
    if (offset + size > where_.size) throw Damaged("an offset past its end");
  }
  static HostError Damaged(const std::string& what) {
    return HostError("PE resource directory is damaged: it has " + what);
  }

  const PeImage& image_;
  PeDirectory where_;
};

// The entry of `entries` that `key` names, or HostError listing what is there instead.
Entry Find(const ResourceTree& tree, const std::vector<Entry>& entries, const Key& key,
           const std::string& missing) {
  std::string present;
  for (const Entry& e : entries) {
    if (tree.Matches(e, key)) return e;
    present += (present.empty() ? "" : ", ") + tree.Describe(e);
  }
  throw HostError(missing + " (present: " + (present.empty() ? "none" : present) + ")");
}

}  // namespace

std::vector<uint8_t> ReadPeResource(const std::vector<uint8_t>& file, const std::string& type,
                                    uint32_t id, uint32_t language) {
  const PeImage image(file);
  const PeDirectory where = image.Directory(kPeResourceDirectory);
  if (where.rva == 0 || where.size == 0) throw HostError("PE module has no resources");
  const ResourceTree tree(image, where);
  const Entry typeEntry =
      Find(tree, tree.Entries(0), TypeKey(type), "PE module has no " + type + " resource");
  const std::string what = type + " resource " + std::to_string(id);
  const Entry idEntry = Find(tree, tree.Entries(tree.Subdirectory(typeEntry)), {true, id, {}},
                             "PE module has no " + what);
  const Entry languageEntry =
      Find(tree, tree.Entries(tree.Subdirectory(idEntry)), {true, language, {}},
           "PE module's " + what + " has no language " + std::to_string(language));
  return tree.Data(languageEntry);
}

}  // namespace solvane::host
