// The shader values a default 1920 x 1080 frame actually hands to its two programs, as
// the toolkit applies them.
#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <string>

#include "FrameTestSupport.h"
#include "core/gl/Pod.h"

namespace solvane::frametest {
namespace {

class RecordingObserver : public UniformObserver {
 public:
  void OnUniformApplied(GLuint program, std::string_view name, const UniformValue& value) override {
    std::lock_guard lock(mutex_);
    if (programs_.empty() || programs_.back() != program) programs_.push_back(program);
    applied_[programs_.size() - 1][std::string(name)] = value;
  }
  // The values of the n-th program drawn (0: pre-process, 1: rays).
  std::map<std::string, UniformValue> Pass(size_t n) { return applied_[n]; }
  size_t Passes() const { return programs_.size(); }

 private:
  std::mutex mutex_;
  std::vector<GLuint> programs_;
  std::map<size_t, std::map<std::string, UniformValue>> applied_;
};

void ExpectFloat(const std::map<std::string, UniformValue>& pass, const std::string& name,
                 float expected) {
  ASSERT_EQ(pass.count(name), 1u) << name;
  EXPECT_EQ(pass.at(name).tag, UniformValue::kFloat) << name;
  EXPECT_EQ(pass.at(name).FloatAt(0), expected) << name;
}

void ExpectInt(const std::map<std::string, UniformValue>& pass, const std::string& name,
               int expected) {
  ASSERT_EQ(pass.count(name), 1u) << name;
  EXPECT_EQ(pass.at(name).tag, UniformValue::kInt) << name;
  EXPECT_EQ(pass.at(name).IntAt(0), expected) << name;
}

TEST(FrameUniforms, DefaultFullHdFrameAppliesTheDocumentedValues) {
  auto host = MakeEffectHost(1920, 1080, /*linked=*/true);
  ASSERT_NE(host, nullptr);
  host->Params().Set(kParamPosition, {960, 540});
  RecordingObserver observer;
  UniformObserver* previous = SetUniformObserver(&observer);
  const host::World input(1920, 1080, 8);
  const host::FrameResult result = host::RenderFrameThroughModule(*host, input);
  SetUniformObserver(previous);
  ASSERT_EQ(result.err, PF_Err_NONE);
  ASSERT_EQ(observer.Passes(), 2u);

  const auto pre = observer.Pass(0);
  ExpectFloat(pre, "thresholdF", 0.0f);
  ExpectFloat(pre, "thresholdSmoothF", 0.5f);
  ExpectInt(pre, "thresholdModeL", 1);
  ExpectInt(pre, "presentViewL", 0);
  EXPECT_EQ(pre.at("inTex").tag, UniformValue::kTexture2D);

  const auto rays = observer.Pass(1);
  ExpectFloat(rays, "posX", 0.5f);
  ExpectFloat(rays, "posY", 0.5f);
  ExpectFloat(rays, "decayF", 2.0f);
  ExpectFloat(rays, "densityF", float(2000.0 / 1920.0));
  ExpectFloat(rays, "weightF", 5.0f);
  ExpectFloat(rays, "caF", 0.0f);
  ExpectFloat(rays, "aspectF", float(1080.0 / 1920.0));
  ExpectFloat(rays, "samplesF", 230.0f);
  ExpectFloat(rays, "jitterF", 1.0f);
  ExpectInt(rays, "modeL", 2);
  ExpectInt(rays, "forwardL", 1);
  ExpectInt(rays, "backwardL", 0);
  ExpectInt(rays, "aberration_channelL", 1);
  ExpectInt(rays, "unmultL", 1);
  EXPECT_NE(rays.at("inTex").payload[0], pre.at("inTex").payload[0]);
  ASSERT_EQ(result.transfers.size(), 1u);
  EXPECT_EQ(result.transfers[0].mode.opacity, 254);
}

}  // namespace
}  // namespace solvane::frametest
