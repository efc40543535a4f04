// Frames through the plug-in in the test host against solvane-render on the same image
// with the same controls: within one code value at 8 bits and 1e-4 in float, for the host
// cases, a region of definition grown by Buffer Expansion, a render scale of 0.5, a render
// window smaller than the frame, premultiplied sources, and instances on several threads.
#include <gtest/gtest.h>

#include <cmath>
#include <new>
#include <thread>

#include "OfxTestSupport.h"

namespace solvane::ofx_host::test {
namespace {

constexpr float kByteTolerance = 1.0f / 255.0f + 1e-6f;
constexpr float kFloatTolerance = 1e-4f;

struct Case {
  const char* name;
  Settings settings;
};

// Position: OpenFX's canonical coordinates count up from the bottom, the CLI's layer
// pixels down from the top.
const Case kCases[] = {
    {"Zoom",
     {{"mode", {1}, "Mode=Zoom"},
      {"position", {28.8, 25.6}, "Position=28.8,38.4"},
      {"length", {1000}, "Length=1000"},
      {"threshold", {20}, "Threshold=20"}}},
    {"SpinWithAberration",
     {{"mode", {0}, "Mode=Spin"},
      {"spinAmount", {45}, "Style/Amount=45"},
      {"aberrationAmount", {50}, "Chromatic Aberration/Amount=50"},
      {"channels", {1}, "Channels=Red & Green"},
      {"quality", {0}, "Quality/Quality=Draft"}}},
    {"InputProcessedView",
     {{"view", {0}, "View=Input (Processed)"},
      {"thresholdMode", {1}, "Threshold Mode=Chroma"},
      {"threshold", {40}, "Threshold=40"}}},
    {"RaysSoloInAndOutWithoutUnmult",
     {{"view", {1}, "View=Rays Solo"},
      {"direction", {2}, "Direction=In & Out"},
      {"unmult", {0}, "Unmult=off"}}},
    {"AddAtPartialOpacity",
     {{"blendMode", {1}, "Blend Mode=Add"},
      {"inputOpacity", {60}, "Input Opacity=60"},
      {"exposure", {2}, "Exposure=2"}}},
    {"CustomQualityWithoutEdgeRepeat",
     {{"decay", {0.5}, "Decay=0.5"},
      {"quality", {4}, "Quality/Quality=Custom"},
      {"samples", {32}, "Samples=32"},
      {"noise", {50}, "Noise=50"},
      {"repeatEdges", {0}, "Repeat Edges=off"}}},
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << c.name;
}

class RenderCaseTest : public PluginTest, public ::testing::WithParamInterface<Case> {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    RequireGl();
  }

  void ExpectMatchesCli(Depth depth) {
    const bool byte = depth == Depth::kByte;
    const std::string input = byte ? "in.png" : "in.exr";
    const std::string ref = std::string("ref_") + GetParam().name + (byte ? ".png" : ".exr");
    ASSERT_EQ(RenderReference(input, ref, GetParam().settings, byte ? "--depth 8" : "--depth 32"),
              "");
    std::unique_ptr<Instance> instance = InstanceFor(input, depth, GetParam().settings);
    ASSERT_NE(instance, nullptr);
    const FrameResult frame = Render(*instance);
    ASSERT_TRUE(frame.output);
    const HostImage expected = ReadImageFile(WorkDir() + ref, depth);
    std::string where;
    EXPECT_LE(LargestDifference(*frame.output, expected, !byte, &where),
              byte ? kByteTolerance : kFloatTolerance)
        << where;
    // The effect changes the picture: passing the source through could not match.
    EXPECT_GT(LargestDifference(*frame.output, ReadImageFile(InputPath(input), depth)), 0.05f);
  }
};

TEST_P(RenderCaseTest, EightBitMatchesCli) {
  ExpectMatchesCli(Depth::kByte);
}

TEST_P(RenderCaseTest, FloatMatchesCli) {
  ExpectMatchesCli(Depth::kFloat);
}

INSTANTIATE_TEST_SUITE_P(Cases, RenderCaseTest, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

class RenderTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    RequireGl();
  }
};

// The region of definition grows by Buffer Expansion on every side, and the grown frame
// holds what solvane-render's grown layer holds.
TEST_F(RenderTest, BufferExpansionGrowsTheRegionOfDefinitionAndItsPixels) {
  const Settings settings = {{"bufferExpansion", {10}, "Buffer Expansion=10"},
                             {"length", {1500}, "Length=1500"}};
  for (const Depth depth : {Depth::kByte, Depth::kFloat}) {
    const bool byte = depth == Depth::kByte;
    const std::string ref = byte ? "ref_grown.png" : "ref_grown.exr";
    ASSERT_EQ(RenderReference(byte ? "in.png" : "in.exr", ref, settings,
                              byte ? "--depth 8" : "--depth 32"),
              "");
    std::unique_ptr<Instance> instance = InstanceFor(byte ? "in.png" : "in.exr", depth, settings);
    ASSERT_NE(instance, nullptr);
    const FrameResult frame = Render(*instance);
    ASSERT_TRUE(frame.output);
    const OfxRectD& rod = frame.regionOfDefinition;
    EXPECT_EQ(rod.x1, -10);
    EXPECT_EQ(rod.y1, -10);
    EXPECT_EQ(rod.x2, kWidth + 10);
    EXPECT_EQ(rod.y2, kHeight + 10);
    EXPECT_EQ(frame.sourceRegionOfInterest.x2 - frame.sourceRegionOfInterest.x1, kWidth);
    const HostImage expected = ReadImageFile(WorkDir() + ref, depth, false, -10, -10);
    EXPECT_LE(LargestDifference(*frame.output, expected, !byte),
              byte ? kByteTolerance : kFloatTolerance);
  }
}

// At render scale 0.5 the source is the half-size image and every pixel-sized control is
// halved, as solvane-render's downsample 2 does with the same full-size input (whose 2 x 2
// blocks make any box filter give the half-size image exactly): Position, Buffer Expansion
// and a Length short enough that twice as long looks different.
TEST_F(RenderTest, RenderScaleHalfMatchesCliDownsample) {
  const Settings settings = {{"position", {30, 40}, "Position=30,24"},
                             {"length", {120}, "Length=120"},
                             {"bufferExpansion", {8}, "Buffer Expansion=8"}};
  ASSERT_EQ(RenderReference("big.png", "ref_half.png", settings, "--depth 8 --downsample 2"), "");
  std::unique_ptr<Instance> instance = InstanceFor("big.png", Depth::kByte, settings);
  ASSERT_NE(instance, nullptr);
  instance->SetSource(
      std::make_shared<HostImage>(ReadImageFile(InputPath("small.png"), Depth::kByte)), 0.5);
  FrameRequest request;
  request.renderScale = 0.5;
  const FrameResult frame = Render(*instance, request);
  ASSERT_TRUE(frame.output);
  EXPECT_EQ(frame.regionOfDefinition.x2, kWidth + 8);  // canonical: full size
  const HostImage expected = ReadImageFile(WorkDir() + "ref_half.png", Depth::kByte, false, -4, -4);
  EXPECT_LE(LargestDifference(*frame.output, expected), kByteTolerance);
}

// Only the render window is written; the rest of the host's buffer keeps its fill, and
// the window holds what the whole frame holds there. Rows padded and stored top first.
TEST_F(RenderTest, OnlyTheRenderWindowIsWritten) {
  const Settings settings = {{"length", {1200}, ""}};
  std::unique_ptr<Instance> instance = InstanceFor("in.exr", Depth::kFloat, settings);
  ASSERT_NE(instance, nullptr);
  const FrameResult whole = Render(*instance);
  FrameRequest request;
  request.window = {20, 10, 61, 43};
  request.fill = {0.25f, 0.5f, 0.75f, 0.125f};
  request.rowPadding = 12;
  request.negativeRowBytes = true;
  const FrameResult part = Render(*instance, request);
  ASSERT_TRUE(whole.output && part.output);
  EXPECT_TRUE(part.output->PaddingIntact());
  int wrong = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool in = x >= 20 && x < 61 && y >= 10 && y < 43;
      const Rgba got = part.output->Get(x, y);
      const Rgba want = in ? whole.output->Get(x, y) : request.fill;
      for (int c = 0; c < 4; ++c) {
        if (std::fabs(got[size_t(c)] - want[size_t(c)]) <= 1e-6f) continue;
        if (wrong++ == 0) {
          ADD_FAILURE() << "pixel (" << x << ", " << y << ")" << (in ? " inside" : " outside")
                        << " the window, channel " << c << ": " << got[size_t(c)] << " not "
                        << want[size_t(c)];
        }
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

// With pixels twice as wide as high, canonical x is twice the pixel x: the region grows
// by Buffer Expansion's pixels (twice as many canonical units across), and a position in
// canonical units lands on the pixel a square-pixel frame has it at.
TEST_F(RenderTest, PixelAspectRatioScalesTheRegionAndThePositionAcross) {
  auto source = std::make_shared<HostImage>(ReadImageFile(InputPath("in.exr"), Depth::kFloat));
  const auto render = [&](double aspect) {
    InstanceSetup setup;
    setup.projectWidth = kWidth * aspect, setup.projectHeight = kHeight;
    setup.pixelAspectRatio = aspect;
    source->pixelAspectRatio = aspect;
    OfxStatus status = kOfxStatFailed;
    std::unique_ptr<Instance> instance = host_->CreateInstance(setup, &status);
    EXPECT_EQ(status, kOfxStatOK);
    instance->SetSource(source);
    EXPECT_EQ(instance->SetParam("position", {30 * aspect, 20}), kOfxStatOK);
    EXPECT_EQ(instance->SetParam("bufferExpansion", {6}), kOfxStatOK);
    return Render(*instance);
  };
  const FrameResult square = render(1.0);
  const FrameResult wide = render(2.0);
  ASSERT_TRUE(square.output && wide.output);
  EXPECT_EQ(wide.regionOfDefinition.x1, -12);
  EXPECT_EQ(wide.regionOfDefinition.x2, kWidth * 2 + 12);
  EXPECT_EQ(wide.regionOfDefinition.y1, -6);
  std::string where;
  EXPECT_LE(LargestDifference(*wide.output, *square.output, false, &where), kFloatTolerance)
      << where;
}

// MLT names itself and hands a normalised default over unconverted: the untouched
// Position (0.5, 0.5) still casts the rays from the frame's centre.
TEST_F(RenderTest, HostPassingNormalisedDefaultsRawStillHasRaysFromTheCentre) {
  std::unique_ptr<Instance> usual = InstanceFor("in.exr", Depth::kFloat, {});
  ASSERT_NE(usual, nullptr);
  const FrameResult expected = Render(*usual);
  usual.reset();
  TearDown();
  // Memory taken where the old host was, so that the new one lands elsewhere (the next test
  // is about a host at the same address).
  const auto elsewhere = std::make_unique<char[]>(sizeof(Host));
  HostOptions mlt;
  mlt.description.name = "MLT";
  mlt.convertNormalisedDefaults = false;
  host_ = std::make_unique<Host>(SOLVANE_OFX_BINARY_PATH, mlt);
  ASSERT_EQ(host_->Describe(), kOfxStatOK);
  ASSERT_EQ(host_->DescribeInContext(kOfxImageEffectContextFilter), kOfxStatOK);
  std::unique_ptr<Instance> raw = InstanceFor("in.exr", Depth::kFloat, {});
  ASSERT_NE(raw, nullptr);
  EXPECT_EQ(raw->ParamAt("position").Numbers(), (std::vector<double>{0.5, 0.5}));
  const FrameResult got = Render(*raw);
  ASSERT_TRUE(expected.output && got.output);
  EXPECT_LE(LargestDifference(*got.output, *expected.output), 1e-6f);
}

// A host unloads the plug-in and loads it again with a new host record that happens to
// lie where the old one lay: the plug-in takes the new host's suites and properties (here
// its name, which decides how it reads an untouched Position), not the old one's.
TEST_F(RenderTest, ReloadedByANewHostAtTheOldAddressTheNewHostCounts) {
  std::unique_ptr<Instance> usual = InstanceFor("in.exr", Depth::kFloat, {});
  ASSERT_NE(usual, nullptr);
  const FrameResult expected = Render(*usual);
  usual.reset();
  TearDown();
  alignas(Host) static unsigned char storage[sizeof(Host)];
  Host* first = new (storage) Host(SOLVANE_OFX_BINARY_PATH);
  first->~Host();
  HostOptions mlt;
  mlt.description.name = "MLT";
  mlt.convertNormalisedDefaults = false;
  Host* second = new (storage) Host(SOLVANE_OFX_BINARY_PATH, mlt);
  const struct Destroy {
    Host* host;
    ~Destroy() { host->~Host(); }
  } destroy{second};
  ASSERT_EQ(second->Describe(), kOfxStatOK);
  ASSERT_EQ(second->DescribeInContext(kOfxImageEffectContextFilter), kOfxStatOK);
  {
    InstanceSetup setup;
    setup.projectWidth = kWidth, setup.projectHeight = kHeight;
    OfxStatus status = kOfxStatFailed;
    std::unique_ptr<Instance> raw = second->CreateInstance(setup, &status);
    ASSERT_NE(raw, nullptr);
    raw->SetSource(std::make_shared<HostImage>(ReadImageFile(InputPath("in.exr"), Depth::kFloat)));
    const FrameResult got = Render(*raw);
    ASSERT_TRUE(expected.output && got.output);
    EXPECT_LE(LargestDifference(*got.output, *expected.output), 1e-6f)
        << "the plug-in still answers to the host that went";
  }
}

// A premultiplied source clip: opaque pixels come out as from a straight source; where
// the source is translucent the premultiplied output matches the straight render
// premultiplied, within float precision.
TEST_F(RenderTest, PremultipliedSourcesGiveTheStraightResultPremultiplied) {
  const Settings settings = {{"threshold", {10}, ""}};
  for (const char* input : {"opaque.exr", "in.exr"}) {
    SCOPED_TRACE(input);
    std::unique_ptr<Instance> straight = InstanceFor(input, Depth::kFloat, settings);
    std::unique_ptr<Instance> premultiplied = InstanceFor(input, Depth::kFloat, settings, true);
    ASSERT_TRUE(straight && premultiplied);
    const FrameResult a = Render(*straight);
    const FrameResult b = Render(*premultiplied);
    ASSERT_TRUE(a.output && b.output);
    EXPECT_EQ(b.output->premultiplication, kOfxImagePreMultiplied);
    EXPECT_LE(LargestDifference(*b.output, Premultiplied(*a.output)), kFloatTolerance);
  }
  // At 8 bits an opaque source is the same either way, to the code value.
  std::unique_ptr<Instance> straight = InstanceFor("opaque.png", Depth::kByte, settings);
  std::unique_ptr<Instance> premultiplied = InstanceFor("opaque.png", Depth::kByte, settings, true);
  ASSERT_TRUE(straight && premultiplied);
  const FrameResult a = Render(*straight);
  const FrameResult b = Render(*premultiplied);
  ASSERT_TRUE(a.output && b.output);
  EXPECT_LE(LargestDifference(*b.output, *a.output), kByteTolerance);
}

// Instances rendering at once on their own threads (and one frame split into bands on
// four threads) give what one instance alone gives.
TEST_F(RenderTest, InstancesOnSeveralThreadsEqualOneAlone) {
  const Settings settings = {{"mode", {0}, ""}, {"quality", {0}, ""}};
  std::unique_ptr<Instance> alone = InstanceFor("in.exr", Depth::kFloat, settings);
  ASSERT_NE(alone, nullptr);
  const FrameResult expected = Render(*alone);
  ASSERT_TRUE(expected.output);
  constexpr int kThreads = 4;
  std::vector<std::unique_ptr<Instance>> instances;
  for (int i = 0; i < kThreads; ++i) {
    instances.push_back(InstanceFor("in.exr", Depth::kFloat, settings));
    ASSERT_NE(instances.back(), nullptr);
  }
  std::vector<FrameResult> results(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      for (int frame = 0; frame < 3; ++frame)
        results[size_t(i)] = instances[size_t(i)]->RenderFrame({});
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const FrameResult& result : results) {
    ASSERT_EQ(result.status, kOfxStatOK) << result.failedAction;
    EXPECT_EQ(LargestDifference(*result.output, *expected.output), 0.0f);
  }
  FrameRequest banded;
  banded.bands = kThreads;
  const FrameResult bands = Render(*alone, banded);
  ASSERT_TRUE(bands.output);
  EXPECT_EQ(LargestDifference(*bands.output, *expected.output), 0.0f);
}

}  // namespace
}  // namespace solvane::ofx_host::test
