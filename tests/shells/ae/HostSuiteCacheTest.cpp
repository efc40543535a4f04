// HostSuiteCache and ScopedSuite against a scripted SP Basic suite: what is acquired, how
// often, and that everything acquired is released on every way out.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "shells/ae/HostSuiteCache.h"

namespace solvane {
namespace {

struct FakeBasic {
  std::map<std::string, int> acquired, released;
  std::string missing;  // suite name the fake does not have
  bool answerNull = false;
  int dummySuite = 0;
};
FakeBasic* fake = nullptr;

SPErr Acquire(const char* name, int32_t version, const void** suite) {
  const std::string key = std::string(name) + "/" + std::to_string(version);
  if (fake->missing == name) return 1;
  ++fake->acquired[key];
  *suite = fake->answerNull ? nullptr : &fake->dummySuite;
  return 0;
}
SPErr Release(const char* name, int32_t version) {
  ++fake->released[std::string(name) + "/" + std::to_string(version)];
  return 0;
}

class HostSuiteCacheTest : public ::testing::Test {
 protected:
  void SetUp() override { fake = &state; }
  void TearDown() override { fake = nullptr; }
  FakeBasic state;
  SPBasicSuite basic{Acquire, Release, nullptr, nullptr, nullptr, nullptr, nullptr};
};

TEST_F(HostSuiteCacheTest, NullBasicSuiteThrows516) {
  EXPECT_THROW(
      {
        try {
          HostSuiteCache cache(nullptr);
        } catch (A_long code) {
          EXPECT_EQ(code, 516);
          throw;
        }
      },
      A_long);
}

TEST_F(HostSuiteCacheTest, NothingAskedNothingAcquired) {
  { HostSuiteCache cache(&basic); }
  EXPECT_TRUE(state.acquired.empty());
  EXPECT_TRUE(state.released.empty());
}

TEST_F(HostSuiteCacheTest, RepeatedRequestsAcquireOnceAndReleaseOnce) {
  {
    HostSuiteCache cache(&basic);
    EXPECT_EQ(cache.Handle(), cache.Handle());
    cache.Ansi();
  }
  EXPECT_EQ(state.acquired["PF Handle Suite/2"], 1);
  EXPECT_EQ(state.released["PF Handle Suite/2"], 1);
  EXPECT_EQ(state.acquired["PF ANSI Suite/1"], 1);
  EXPECT_EQ(state.released["PF ANSI Suite/1"], 1);
}

TEST_F(HostSuiteCacheTest, EachSlotAsksForItsOwnNameAndVersion) {
  {
    HostSuiteCache cache(&basic);
    cache.PfInterface();
    cache.Layer();
    cache.Effect();
    cache.Stream();
    cache.DynamicStream();
    cache.ParamUtils();
    cache.WorldTransform();
  }
  const std::map<std::string, int> expected{{"AEGP PF Interface Suite/1", 1},
                                            {"AEGP Layer Suite/13", 1},
                                            {"AEGP Effect Suite/2", 1},
                                            {"AEGP Stream Suite/7", 1},
                                            {"AEGP Dynamic Stream Suite/2", 1},
                                            {"PF Param Utils Suite/3", 1},
                                            {"PF World Transform Suite/1", 1}};
  EXPECT_EQ(state.acquired, expected);
  EXPECT_EQ(state.released, expected);
}

TEST_F(HostSuiteCacheTest, FailedAccessorThrows516AndEarlierSuitesAreStillReleased) {
  state.missing = "AEGP Layer Suite";
  A_long thrown = 0;
  try {
    HostSuiteCache cache(&basic);
    cache.Ansi();
    cache.Layer();
  } catch (A_long code) {
    thrown = code;
  }
  EXPECT_EQ(thrown, 516);
  EXPECT_EQ(state.released["PF ANSI Suite/1"], 1);
  EXPECT_EQ(state.released.count("AEGP Layer Suite/13"), 0u);
}

TEST_F(HostSuiteCacheTest, SuccessWithNullPointerCountsAsMissing) {
  state.answerNull = true;
  HostSuiteCache cache(&basic);
  EXPECT_THROW(cache.Ansi(), A_long);
}

int RecordingSprintf(A_char* buffer, const A_char* format, ...) {
  std::snprintf(buffer, 256, "%s", format);
  return 0;
}

TEST_F(HostSuiteCacheTest, ScopedSuiteMissingFlagsMessageAndThrows13) {
  state.missing = "PF World Suite";
  PF_UtilCallbacks utils{};
  utils.ansi.sprintf = RecordingSprintf;
  PF_InData in{};
  in.pica_basicP = &basic;
  in.utils = &utils;
  PF_OutData out{};
  A_long thrown = 0;
  try {
    ScopedSuite world(&in, &out, "PF World Suite", 2);
  } catch (A_long code) {
    thrown = code;
  }
  EXPECT_EQ(thrown, 13);
  EXPECT_EQ(out.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE, PF_OutFlag_DISPLAY_ERROR_MESSAGE);
  EXPECT_STREQ(out.return_msg, "Not able to acquire AEFX Suite.");
  EXPECT_TRUE(state.released.empty());
}

TEST_F(HostSuiteCacheTest, ScopedSuiteWithoutOutDataStillThrowsAndReleasesOnSuccess) {
  PF_InData in{};
  in.pica_basicP = &basic;
  { ScopedSuite world(&in, nullptr, "PF World Suite", 2); }
  EXPECT_EQ(state.released["PF World Suite/2"], 1);
  state.missing = "PF World Suite";
  EXPECT_THROW(ScopedSuite(&in, nullptr, "PF World Suite", 2), A_long);
}

}  // namespace
}  // namespace solvane
