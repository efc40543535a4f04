// The version word --info shows, unpacked the way PF_VERSION packs it: versions from 8 up
// keep their high bits apart from the low three.
#include <gtest/gtest.h>

#include "AE_Effect.h"
#include "tools/render/InfoCommand.h"

namespace solvane::cli {
namespace {

TEST(InfoVersion, UnpacksEveryFieldOfThePackedWord) {
  EXPECT_EQ(VersionText(PF_VERSION(1, 0, 0, PF_Stage_DEVELOP, 1)),
            "1.0.0 (stage 0, build 1, 0x00080001)");
  EXPECT_EQ(VersionText(PF_VERSION(13, 2, 5, PF_Stage_RELEASE, 300)),
            "13.2.5 (stage 3, build 300, 0x04292F2C)");
  EXPECT_EQ(VersionText(PF_VERSION(127, 15, 15, PF_Stage_BETA, 511)),
            "127.15.15 (stage 2, build 511, 0x3C3FFDFF)");
}

}  // namespace
}  // namespace solvane::cli
