// The test host's own suites, called as a plug-in calls them: the OpenFX status codes for
// wrong names, types, indices and handles; variadic parameter values by type; images with
// padded and negative row bytes; counted memory; real threads and recursive mutexes.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <thread>

#include "HostImage.h"
#include "ImageGrants.h"
#include "Ledger.h"
#include "ParamSet.h"
#include "PropertySet.h"
#include "Suites.h"

namespace solvane::ofx_host {
namespace {

const OfxPropertySuiteV1& props = PropertySuite();
const OfxParameterSuiteV1& params = ParameterSuite();

TEST(PropertySuite, AnswersUnknownNamesWrongTypesAndIndicesWithTheirCodes) {
  PropertySet set("a test set");
  set.DeclareInts("Pair", {1, 2});
  set.DeclareStrings("List", {}, true);
  const OfxPropertySetHandle h = set.Handle();
  int i = 0;
  double d = 0;
  char* s = nullptr;
  EXPECT_EQ(props.propGetInt(h, "Missing", 0, &i), kOfxStatErrUnknown);
  EXPECT_EQ(props.propSetInt(h, "Missing", 0, 1), kOfxStatErrUnknown);
  EXPECT_EQ(props.propGetDouble(h, "Pair", 0, &d), kOfxStatErrValue);
  EXPECT_EQ(props.propSetString(h, "Pair", 0, "x"), kOfxStatErrValue);
  EXPECT_EQ(props.propGetInt(h, "Pair", 2, &i), kOfxStatErrBadIndex);
  EXPECT_EQ(props.propSetInt(h, "Pair", 2, 3), kOfxStatErrBadIndex);  // fixed: never grows
  EXPECT_EQ(props.propGetInt(h, "Pair", -1, &i), kOfxStatErrBadIndex);
  // A variable array grows one index at a time.
  EXPECT_EQ(props.propSetString(h, "List", 1, "b"), kOfxStatErrBadIndex);
  EXPECT_EQ(props.propSetString(h, "List", 0, "a"), kOfxStatOK);
  EXPECT_EQ(props.propSetString(h, "List", 1, "b"), kOfxStatOK);
  int count = 0;
  EXPECT_EQ(props.propGetDimension(h, "List", &count), kOfxStatOK);
  EXPECT_EQ(count, 2);
  ASSERT_EQ(props.propGetString(h, "List", 1, &s), kOfxStatOK);
  EXPECT_STREQ(s, "b");
  const int pair[2] = {7, 8};
  EXPECT_EQ(props.propSetIntN(h, "Pair", 2, pair), kOfxStatOK);
  int back[2] = {0, 0};
  EXPECT_EQ(props.propGetIntN(h, "Pair", 2, back), kOfxStatOK);
  EXPECT_EQ(back[1], 8);
  EXPECT_EQ(props.propReset(h, "Pair"), kOfxStatOK);
  EXPECT_EQ(set.Ints("Pair"), (std::vector<int>{1, 2}));
  EXPECT_EQ(set.WrittenByPlugin(), (std::set<std::string>{"List", "Pair"}));
  EXPECT_EQ(props.propGetInt(h, nullptr, 0, &i), kOfxStatErrUnknown);
  EXPECT_EQ(props.propGetInt(h, "Pair", 0, nullptr), kOfxStatErrValue);
}

TEST(PropertySuite, StaleForeignAndNullHandlesAreBadHandles) {
  auto gone = std::make_unique<PropertySet>("gone");
  gone->DeclareInts("A", {1});
  // Kept as a number: the compiler need not follow a pointer the test means to be stale.
  volatile std::uintptr_t address = reinterpret_cast<std::uintptr_t>(gone->Handle());
  gone.reset();
  const auto stale = reinterpret_cast<OfxPropertySetHandle>(std::uintptr_t(address));
  int i = 0;
  int notASet = 0;
  EXPECT_EQ(props.propGetInt(stale, "A", 0, &i), kOfxStatErrBadHandle);
  EXPECT_EQ(props.propGetInt(reinterpret_cast<OfxPropertySetHandle>(&notASet), "A", 0, &i),
            kOfxStatErrBadHandle);
  EXPECT_EQ(props.propSetInt(nullptr, "A", 0, 1), kOfxStatErrBadHandle);
  EXPECT_EQ(ReleaseImage(stale), kOfxStatErrBadHandle);
}

TEST(ParameterSuite, DefinesOnceAndPassesValuesByType) {
  ParamSet set("a test effect");
  const OfxParamSetHandle h = set.Handle();
  OfxPropertySetHandle p = nullptr;
  ASSERT_EQ(params.paramDefine(h, kOfxParamTypeDouble2D, "point", &p), kOfxStatOK);
  ASSERT_EQ(params.paramDefine(h, kOfxParamTypeChoice, "menu", nullptr), kOfxStatOK);
  ASSERT_EQ(params.paramDefine(h, kOfxParamTypeString, "text", nullptr), kOfxStatOK);
  ASSERT_EQ(params.paramDefine(h, kOfxParamTypeGroup, "group", nullptr), kOfxStatOK);
  EXPECT_EQ(params.paramDefine(h, kOfxParamTypeDouble, "point", nullptr), kOfxStatErrExists);
  EXPECT_EQ(params.paramDefine(h, "OfxParamTypeNoSuch", "other", nullptr), kOfxStatErrUnknown);
  EXPECT_EQ(props.propSetDouble(p, kOfxParamPropDefault, 1, 0.25), kOfxStatOK);
  // A 2D parameter has no third default, and a choice's options are strings.
  EXPECT_EQ(props.propSetDouble(p, kOfxParamPropDefault, 2, 1.0), kOfxStatErrBadIndex);

  OfxParamHandle point = nullptr, menu = nullptr, text = nullptr, group = nullptr;
  ASSERT_EQ(params.paramGetHandle(h, "point", &point, nullptr), kOfxStatOK);
  ASSERT_EQ(params.paramGetHandle(h, "menu", &menu, nullptr), kOfxStatOK);
  ASSERT_EQ(params.paramGetHandle(h, "text", &text, nullptr), kOfxStatOK);
  ASSERT_EQ(params.paramGetHandle(h, "group", &group, nullptr), kOfxStatOK);
  EXPECT_EQ(params.paramGetHandle(h, "none", &point, nullptr), kOfxStatErrUnknown);
  EXPECT_EQ(params.paramSetValue(point, 3.5, -2.0), kOfxStatOK);
  EXPECT_EQ(params.paramSetValue(menu, 2), kOfxStatOK);
  EXPECT_EQ(params.paramSetValue(text, "words"), kOfxStatOK);
  double x = 0, y = 0;
  int item = 0;
  char* words = nullptr;
  EXPECT_EQ(params.paramGetValueAtTime(point, 5.0, &x, &y), kOfxStatOK);
  EXPECT_EQ(x, 3.5);
  EXPECT_EQ(y, -2.0);
  EXPECT_EQ(params.paramGetValue(menu, &item), kOfxStatOK);
  EXPECT_EQ(item, 2);
  EXPECT_EQ(params.paramGetValue(text, &words), kOfxStatOK);
  EXPECT_STREQ(words, "words");
  EXPECT_EQ(params.paramGetValue(group, &item), kOfxStatErrValue);
  EXPECT_EQ(params.paramGetValue(reinterpret_cast<OfxParamHandle>(&item), &item),
            kOfxStatErrBadHandle);
}

// A normalised spatial default lands in canonical coordinates of the project.
TEST(ParameterSuite, NormalisedDefaultsAreScaledToTheProject) {
  Param point("point", kOfxParamTypeDouble2D);
  point.Props().SetString(kOfxParamPropDoubleType, kOfxParamDoubleTypeXYAbsolute);
  point.Props().SetString(kOfxParamPropDefaultCoordinateSystem, kOfxParamCoordinatesNormalised);
  point.Props().SetDouble(kOfxParamPropDefault, 0.25, 0);
  point.Props().SetDouble(kOfxParamPropDefault, 0.5, 1);
  const double size[2] = {200, 100}, offset[2] = {10, 20};
  point.ResetToDefault(size, offset);
  EXPECT_EQ(point.Numbers(), (std::vector<double>{60, 70}));
}

// Row y1 at Data(), each row above RowBytes() on, whatever the sign; padding untouched.
TEST(HostImage, RowsGoUpByRowBytesInBothDirections) {
  for (const bool negative : {false, true}) {
    HostImage image(ImageLayout{{-2, 3, 4, 7}, Depth::kFloat, 8, negative});
    EXPECT_EQ(image.RowBytes(), (negative ? -1 : 1) * (6 * 16 + 8));
    image.Set(-1, 5, {0.5f, 0.25f, 1.0f, 2.0f});
    const auto* row =
        static_cast<const unsigned char*>(image.Data()) + std::ptrdiff_t(5 - 3) * image.RowBytes();
    float pixel[4];
    std::memcpy(pixel, row + 16, sizeof pixel);
    EXPECT_EQ(pixel[3], 2.0f);
    EXPECT_TRUE(image.PaddingIntact());
    EXPECT_THROW(image.Get(4, 3), std::out_of_range);
    // A copy's data lies in its own storage, laid out the same way.
    const HostImage copy = image;
    EXPECT_NE(copy.Data(), image.Data());
    EXPECT_EQ(copy.RowBytes(), image.RowBytes());
    EXPECT_EQ(copy.Get(-1, 5), image.Get(-1, 5));
  }
  HostImage bytes(ImageLayout{{0, 0, 1, 1}, Depth::kByte});
  bytes.Set(0, 0, {0.5f, 2.0f, -1.0f, 0.1f});
  const auto* b = static_cast<const unsigned char*>(bytes.Data());
  EXPECT_EQ(b[0], 128);
  EXPECT_EQ(b[1], 255);
  EXPECT_EQ(b[2], 0);
  EXPECT_EQ(b[3], 26);
}

TEST(MemorySuite, CountsBlocksAndRefusesForeignOnes) {
  const LedgerCounts before = Ledger::Get().Counts();
  void* block = nullptr;
  ASSERT_EQ(MemorySuite().memoryAlloc(nullptr, 100, &block), kOfxStatOK);
  EXPECT_EQ(Ledger::Get().Counts().memoryBytes, before.memoryBytes + 100);
  int foreign = 0;
  EXPECT_EQ(MemorySuite().memoryFree(&foreign), kOfxStatErrBadHandle);
  EXPECT_EQ(MemorySuite().memoryFree(block), kOfxStatOK);
  EXPECT_EQ(MemorySuite().memoryFree(block), kOfxStatErrBadHandle);  // twice
  EXPECT_EQ(Ledger::Get().Counts().memoryBlocks, before.memoryBlocks);
  EXPECT_GE(Ledger::Get().Misuses().size(), 2u);
  Ledger::Get().ClearMisuses();
}

struct ThreadLog {
  std::atomic<int> calls{0};
  std::atomic<unsigned> indexMask{0};
  std::atomic<int> spawned{0};
};

void LogThread(unsigned int index, unsigned int max, void* argument) {
  auto* log = static_cast<ThreadLog*>(argument);
  unsigned int reported = 99;
  MultiThreadSuite().multiThreadIndex(&reported);
  if (reported == index && max == 4) log->indexMask |= 1u << index;
  log->spawned += MultiThreadSuite().multiThreadIsSpawnedThread();
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ++log->calls;
}

TEST(MultiThreadSuite, RunsEveryIndexOnItsOwnThread) {
  ThreadLog log;
  ASSERT_EQ(MultiThreadSuite().multiThread(LogThread, 4, &log), kOfxStatOK);
  EXPECT_EQ(log.calls, 4);
  EXPECT_EQ(log.indexMask, 0xFu);
  EXPECT_EQ(log.spawned, 4);
  EXPECT_EQ(MultiThreadSuite().multiThreadIsSpawnedThread(), 0);
  EXPECT_EQ(MultiThreadSuite().multiThread(nullptr, 2, &log), kOfxStatErrValue);
}

TEST(MultiThreadSuite, MutexesAreRecursiveWithAnInitialCount) {
  const OfxMultiThreadSuiteV1& mt = MultiThreadSuite();
  OfxMutexHandle mutex = nullptr;
  ASSERT_EQ(mt.mutexCreate(&mutex, 1), kOfxStatOK);  // held once by this thread
  EXPECT_EQ(mt.mutexLock(mutex), kOfxStatOK);
  OfxStatus other = kOfxStatOK;
  std::thread([&] { other = mt.mutexTryLock(mutex); }).join();
  EXPECT_EQ(other, kOfxStatFailed);
  EXPECT_EQ(mt.mutexUnLock(mutex), kOfxStatOK);
  EXPECT_EQ(mt.mutexUnLock(mutex), kOfxStatOK);
  EXPECT_EQ(mt.mutexUnLock(mutex), kOfxStatErrValue);  // not held any more
  std::thread([&] {
    other = mt.mutexTryLock(mutex) == kOfxStatOK ? mt.mutexUnLock(mutex) : 1;
  }).join();
  EXPECT_EQ(other, kOfxStatOK);
  EXPECT_EQ(mt.mutexDestroy(mutex), kOfxStatOK);
  EXPECT_EQ(mt.mutexLock(mutex), kOfxStatErrBadHandle);
  Ledger::Get().ClearMisuses();
}

TEST(MessageSuite, FormatsKeepsTheEffectAndAnswersQuestionsNo) {
  Ledger::Get().ClearMessages();
  int effect = 0;
  EXPECT_EQ(MessageSuiteV2().message(&effect, kOfxMessageError, "id", "%d of %s", 3, "four"),
            kOfxStatOK);
  EXPECT_EQ(MessageSuiteV1().message(nullptr, kOfxMessageQuestion, "", "ok?"), kOfxStatReplyNo);
  EXPECT_EQ(MessageSuiteV1().message(nullptr, "NotAType", "", "x"), kOfxStatErrValue);
  const std::vector<HostMessage> messages = Ledger::Get().Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].text, "3 of four");
  EXPECT_EQ(messages[0].effect, &effect);
  Ledger::Get().ClearMessages();
  Ledger::Get().ClearMisuses();
}

}  // namespace
}  // namespace solvane::ofx_host
