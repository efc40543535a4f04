// The AEGP handle registry: what is handed out is known until disposed, once.
#include <gtest/gtest.h>

#include "host/AegpHandles.h"

namespace {

using solvane::host::AegpHandles;

TEST(AegpHandles, ReportsWhatWasNotDisposedOf) {
  AegpHandles handles;
  AEGP_EffectRefH effect = handles.NewEffect();
  AEGP_StreamRefH stream = handles.NewStream(effect, 13);
  EXPECT_EQ(handles.StreamIndex(stream), 13);
  EXPECT_EQ(handles.Undisposed(),
            (std::vector<std::string>{"effect handle 1", "stream handle 2 (index 13)"}));
  EXPECT_TRUE(handles.DisposeStream(stream));
  EXPECT_FALSE(handles.DisposeStream(stream));
  EXPECT_EQ(handles.StreamIndex(stream), 0);
  EXPECT_TRUE(handles.DisposeEffect(effect));
  EXPECT_TRUE(handles.Undisposed().empty());
  EXPECT_EQ(handles.Obtained(), 2);
}

TEST(AegpHandles, AHandleOfOneKindIsNotAcceptedAsTheOther) {
  AegpHandles handles;
  AEGP_EffectRefH effect = handles.NewEffect();
  AEGP_StreamRefH stream = handles.NewStream(effect, 4);
  EXPECT_FALSE(handles.DisposeEffect(reinterpret_cast<AEGP_EffectRefH>(stream)));
  EXPECT_FALSE(handles.DisposeStream(reinterpret_cast<AEGP_StreamRefH>(effect)));
  EXPECT_FALSE(handles.DisposeEffect(nullptr));
  EXPECT_FALSE(handles.EffectLive(nullptr));
  EXPECT_EQ(handles.Undisposed().size(), 2u);
}

}  // namespace
