// The PE resource reader on files built byte by byte: finding a resource by type, id and
// language, and refusing damaged files with a message instead of reading out of bounds.
#include <gtest/gtest.h>

#include <algorithm>

#include "PeResourcesBuilder.h"
#include "host/HostError.h"
#include "host/PeResources.h"

namespace solvane::host {
namespace {

using test::BuildFakePe;
using test::FakePe;
using test::FakeResource;
using Bytes = std::vector<uint8_t>;

const Bytes kPipl = {1, 0, 0, 0, 0, 0, 12, 0, 0, 0, 'x'};
const Bytes kManifest = {'<', '?', 'x', 'm', 'l'};

FakePe ModuleLikeFile(bool pe32Plus = true) {
  return BuildFakePe({{"PIPL", 0, 16000, 1033, kPipl},
                      {"PIPL", 0, 16000, 1031, {9, 9}},
                      {"PIPL", 0, 7, 1033, {7}},
                      {"", 24, 2, 1033, kManifest}},
                     pe32Plus);
}

void Put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

std::string ErrorOf(const Bytes& file, const std::string& type, uint32_t id, uint32_t lang) {
  try {
    ReadPeResource(file, type, id, lang);
  } catch (const HostError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(PeResources, FindsEachResourceByTypeIdAndLanguage) {
  const FakePe pe = ModuleLikeFile();
  EXPECT_EQ(ReadPeResource(pe.bytes, "PIPL", 16000, 1033), kPipl);
  EXPECT_EQ(ReadPeResource(pe.bytes, "PIPL", 16000, 1031), (Bytes{9, 9}));
  EXPECT_EQ(ReadPeResource(pe.bytes, "PIPL", 7, 1033), Bytes{7});
  EXPECT_EQ(ReadPeResource(pe.bytes, "#24", 2, 1033), kManifest);
}

TEST(PeResources, TypeNamesMatchWithoutRegardToCase) {
  EXPECT_EQ(ReadPeResource(ModuleLikeFile().bytes, "pipl", 16000, 1033), kPipl);
}

TEST(PeResources, ReadsPe32FilesToo) {
  EXPECT_EQ(ReadPeResource(ModuleLikeFile(false).bytes, "PIPL", 16000, 1033), kPipl);
}

TEST(PeResources, ANumericTypeIsNotConfusedWithANameOfTheSameDigits) {
  const FakePe pe = BuildFakePe({{"24", 0, 2, 1033, {1}}});
  EXPECT_EQ(ErrorOf(pe.bytes, "#24", 2, 1033), "PE module has no #24 resource (present: \"24\")");
  EXPECT_EQ(ReadPeResource(pe.bytes, "24", 2, 1033), Bytes{1});
}

TEST(PeResources, MissingPiecesAreNamedWithWhatIsThere) {
  const FakePe pe = ModuleLikeFile();
  EXPECT_EQ(ErrorOf(pe.bytes, "ICON", 1, 1033),
            "PE module has no ICON resource (present: \"PIPL\", 24)");
  EXPECT_EQ(ErrorOf(pe.bytes, "PIPL", 16001, 1033),
            "PE module has no PIPL resource 16001 (present: 16000, 7)");
  EXPECT_EQ(ErrorOf(pe.bytes, "PIPL", 16000, 2057),
            "PE module's PIPL resource 16000 has no language 2057 (present: 1033, 1031)");
}

TEST(PeResources, AFileWithoutResourcesOrNotPeIsRefused) {
  FakePe pe = ModuleLikeFile();
  Put32(pe.bytes, pe.resourceDirectoryAt, 0);
  EXPECT_EQ(ErrorOf(pe.bytes, "PIPL", 16000, 1033), "PE module has no resources");
  EXPECT_EQ(ErrorOf(Bytes(100, 0), "PIPL", 16000, 1033), "not a PE file (no MZ header)");
  Bytes noSignature = ModuleLikeFile().bytes;
  noSignature[0x40] = 'X';
  EXPECT_EQ(ErrorOf(noSignature, "PIPL", 16000, 1033), "not a PE file (no PE signature)");
}

TEST(PeResources, TruncatedFilesAreRefused) {
  const FakePe pe = ModuleLikeFile();
  for (size_t size :
       {size_t(70), size_t(0x100), size_t(pe.sectionFileOffset + 20), pe.bytes.size() - 1}) {
    const Bytes cut(pe.bytes.begin(), pe.bytes.begin() + long(size));
    EXPECT_THROW(ReadPeResource(cut, "PIPL", 16000, 1033), HostError) << size;
  }
}

TEST(PeResources, DamagedDirectoriesAreRefusedWithoutReadingOutside) {
  FakePe many = ModuleLikeFile();
  many.bytes[many.sectionFileOffset + 14] = 0xFF;  // root id-entry count
  EXPECT_EQ(ErrorOf(many.bytes, "PIPL", 16000, 1033),
            "PE resource directory is damaged: it has an offset past its end");

  FakePe oversize = ModuleLikeFile();
  Put32(oversize.bytes, oversize.resourceDirectoryAt + 4, 0x10000);
  EXPECT_THROW(ReadPeResource(oversize.bytes, "PIPL", 16000, 1033), HostError);

  FakePe bigData = ModuleLikeFile();
  Put32(bigData.bytes, bigData.dataEntryAt[0] + 4, 0xFFFFFFF0u);
  EXPECT_THROW(ReadPeResource(bigData.bytes, "PIPL", 16000, 1033), HostError);
  EXPECT_EQ(ReadPeResource(bigData.bytes, "#24", 2, 1033), kManifest);

  FakePe farData = ModuleLikeFile();
  Put32(farData.bytes, farData.dataEntryAt[0], 0x7FFFFFFF);
  EXPECT_THROW(ReadPeResource(farData.bytes, "PIPL", 16000, 1033), HostError);
}

TEST(PeResources, EntriesOfTheWrongKindAreRefused) {
  const FakePe pe = BuildFakePe({{"PIPL", 0, 16000, 1033, kPipl}});
  // The root's one entry (after the 16-byte header) points at a data entry, not a directory.
  Bytes flat = pe.bytes;
  flat[pe.sectionFileOffset + 16 + 7] &= 0x7F;
  EXPECT_EQ(ErrorOf(flat, "PIPL", 16000, 1033),
            "PE resource directory is damaged: it has a data entry where a directory belongs");
  // A directory that points back at the root where the language level expects data.
  Bytes loop = pe.bytes;
  const uint32_t languageDir = pe.dataEntryAt[0] - pe.sectionFileOffset - 16 - 8;
  Put32(loop, pe.sectionFileOffset + languageDir + 16 + 4, 0x80000000u);
  EXPECT_EQ(ErrorOf(loop, "PIPL", 16000, 1033),
            "PE resource directory is damaged: it has a directory where a data entry belongs");
}

// What comes back is always bytes of the file itself, and any other failure than a
// HostError fails the test. Under the sanitizer builds this also shows that no corruption
// makes the reader touch memory outside the file.
TEST(PeResources, AnySingleCorruptByteGivesTheResourceOrAHostError) {
  const FakePe pe = ModuleLikeFile();
  size_t read = 0, refused = 0;
  for (size_t at = 0; at < pe.bytes.size(); ++at) {
    for (uint8_t value : {uint8_t(0x00), uint8_t(0x7F), uint8_t(0xFF)}) {
      Bytes damaged = pe.bytes;
      damaged[at] = value;
      try {
        const Bytes resource = ReadPeResource(damaged, "PIPL", 16000, 1033);
        ++read;
        EXPECT_NE(std::search(damaged.begin(), damaged.end(), resource.begin(), resource.end()),
                  damaged.end())
            << "byte " << at << " = " << int(value) << " gave bytes that are not in the file";
      } catch (const HostError& e) {
        ++refused;
        EXPECT_STRNE(e.what(), "") << at;
      }
    }
  }
  // Bytes outside the headers and directories change nothing; damage to those is refused.
  EXPECT_GT(read, 0u);
  EXPECT_GT(refused, 0u);
}

}  // namespace
}  // namespace solvane::host
