// The version button opens the maker's web page through the platform seam, so no browser
// starts here, and succeeds whatever the opener does.
#include <gtest/gtest.h>

#include <string>

#include "shells/ae/ParamInteraction.h"
#include "core/controls/ControlTable.h"
#include "shells/ae/OpenWebPage.h"

namespace {

std::string openedUrl;
int openCount = 0;

void RecordOpen(const char* url) {
  openedUrl = url;
  ++openCount;
}

TEST(VersionButton, OpensTheMakersPageAndReturnsNone) {
  solvane::SetWebPageOpenerForTesting(RecordOpen);
  PF_InData in{};  // no suites: the button needs none
  PF_OutData out{};
  const PF_UserChangedParamExtra extra{solvane::kParamVersion};
  EXPECT_EQ(solvane::HandleUserChangedParam(&in, &out, nullptr, nullptr, &extra), PF_Err_NONE);
  solvane::SetWebPageOpenerForTesting(nullptr);
  EXPECT_EQ(openCount, 1);
  EXPECT_EQ(openedUrl, solvane::kMakerWebPage);
  EXPECT_EQ(out.out_flags, 0);
}

TEST(VersionButton, UnsupervisedIndexesAreIgnored) {
  solvane::SetWebPageOpenerForTesting(RecordOpen);
  openCount = 0;
  PF_InData in{};
  const PF_UserChangedParamExtra extra{solvane::kParamLength};
  EXPECT_EQ(solvane::HandleUserChangedParam(&in, nullptr, nullptr, nullptr, &extra), PF_Err_NONE);
  solvane::SetWebPageOpenerForTesting(nullptr);
  EXPECT_EQ(openCount, 0);
}

}  // namespace
