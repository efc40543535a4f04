// The registration resource as embedded in the built module, byte for byte, and its
// agreement with what global set-up reports.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/HostError.h"
#include "host/Registration.h"
#include "shells/ae/resources/RegistrationResource.h"

namespace solvane {
namespace {

// The expected bytes, written out by hand rather than by the encoder under test.
std::vector<uint8_t> ExpectedResource() {
  std::vector<uint8_t> b = {1, 0, 0, 0, 0, 0, 12, 0, 0, 0};
  auto property = [&](const char* key, std::vector<uint8_t> data, uint32_t length) {
    for (char c : std::string("MIB8")) b.push_back(uint8_t(c));
    for (int i = 3; i >= 0; --i) b.push_back(uint8_t(key[i]));
    b.insert(b.end(), {0, 0, 0, 0, uint8_t(length), 0, 0, 0});
    b.insert(b.end(), data.begin(), data.end());
  };
  auto text = [](const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); };
  auto join = [](std::vector<uint8_t> a, const std::vector<uint8_t>& c) {
    a.insert(a.end(), c.begin(), c.end());
    return a;
  };
  property("kind", text("TKFe"), 4);
  property("name", join(join({17}, text("Brindel's Solvane")), {0, 0}), 20);
  property("catg", join({7}, text("Orvanta")), 8);
  property("8664", join(text("EntryPointFunc"), {0, 0}), 16);
  property("ePVR", {2, 0, 0, 0}, 4);
  property("eSVR", {13, 0, 25, 0}, 4);
  property("eVER", {0x01, 0x00, 0x08, 0x00}, 4);
  property("eINF", {0, 0, 0, 0}, 2);
  property("eGLO", {0, 0, 0, 0x04}, 4);
  property("eGL2", {0x08, 0x14, 0x00, 0x08}, 4);
  property("eMNA", join(join({4}, text("QRSV")), {0, 0, 0}), 8);
  property("aeFL", {8, 0, 0, 0}, 4);
  return b;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(RegistrationResource, ModuleSectionHoldsExactlyTheExpectedBytes) {
  const std::string dump = testing::TempDir() + "/pipl.bin";
  const std::string command = "objcopy -O binary --only-section=.pipl \"" +
                              std::string(SOLVANE_MODULE_PATH) + "\" \"" + dump + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  EXPECT_EQ(ReadFile(dump), ExpectedResource());
  EXPECT_EQ(EncodeRegistrationResource(), ExpectedResource());
}

TEST(RegistrationResource, ParsesToTwelvePropertiesInOrderEndingAtTheLastByte) {
  const host::RegistrationInfo info = host::ParseRegistrationResource(ExpectedResource());
  std::vector<std::string> keys;
  for (const auto& p : info.properties) {
    keys.push_back(p.key);
    EXPECT_EQ(p.vendor, "8BIM");
  }
  EXPECT_EQ(keys, (std::vector<std::string>{"kind", "name", "catg", "8664", "ePVR", "eSVR",
                                            "eVER", "eINF", "eGLO", "eGL2", "eMNA", "aeFL"}));
  EXPECT_EQ(info.name, "Brindel's Solvane");
  EXPECT_EQ(info.category, "Orvanta");
  EXPECT_EQ(info.matchName, "QRSV");
}

TEST(RegistrationResource, AgreesWithWhatGlobalSetupReports) {
  host::Host host(SOLVANE_MODULE_PATH);
  PF_OutData out{};
  ASSERT_EQ(host.GlobalSetup(&out), PF_Err_NONE);
  EXPECT_EQ(host.Registration().effectVersion, out.my_version);
  EXPECT_EQ(host.Registration().outFlags, uint32_t(out.out_flags));
  EXPECT_EQ(host.Registration().outFlags2, uint32_t(out.out_flags2));
  EXPECT_EQ(host.Registration().entryPoint, "EntryPointFunc");
}

TEST(RegistrationResource, MalformedResourcesAreRefusedWithAReason) {
  std::vector<uint8_t> bytes = ExpectedResource();
  bytes.push_back(0);
  EXPECT_THROW(host::ParseRegistrationResource(bytes), host::HostError);
  bytes = ExpectedResource();
  bytes.resize(bytes.size() - 3);
  EXPECT_THROW(host::ParseRegistrationResource(bytes), host::HostError);
  bytes = ExpectedResource();
  bytes[6] = 13;  // one property more than present
  EXPECT_THROW(host::ParseRegistrationResource(bytes), host::HostError);
}

TEST(RegistrationResource, HostRefusesModulesWithoutAValidResource) {
  const std::string broken = testing::TempDir() + "/broken_module.so";
  const std::string bad = testing::TempDir() + "/bad_kind.bin";
  std::vector<uint8_t> wrongKind = ExpectedResource();
  wrongKind[26] = 'X';  // kind data no longer 'eFKT'
  std::ofstream(bad, std::ios::binary).write(reinterpret_cast<const char*>(wrongKind.data()),
                                             std::streamsize(wrongKind.size()));
  const std::string command = "objcopy --update-section .pipl=\"" + bad + "\" \"" +
                              std::string(SOLVANE_MODULE_PATH) + "\" \"" + broken + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  try {
    host::Host host(broken);
    FAIL() << "a module of the wrong kind was loaded";
  } catch (const host::HostError& e) {
    EXPECT_NE(std::string(e.what()).find("not an After Effects effect"), std::string::npos)
        << e.what();
  }
  EXPECT_THROW(host::Host("/nonexistent/module.so"), host::HostError);
}

}  // namespace
}  // namespace solvane
