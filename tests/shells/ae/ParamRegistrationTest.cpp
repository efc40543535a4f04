// The controls as the module registers them through the stand-in host's add_param.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "host/Host.h"

namespace {

using solvane::host::Host;
using solvane::host::RegisteredParam;

// What every row must register, written out independently of the effect's own table.
struct Expected {
  A_long id;
  const char* name;
  PF_ParamType type;
  PF_ParamFlags flags;
  PF_ParamUIFlags uiFlags;
  // Float slider: valid min/max, slider min/max, default, precision, percent display.
  float vmin = 0, vmax = 0, smin = 0, smax = 0, dflt = 0;
  A_short precision = 0;
  A_short display = 0;
};

constexpr PF_ParamType kGroup = PF_Param_GROUP_START, kEnd = PF_Param_GROUP_END,
                       kFloat = PF_Param_FLOAT_SLIDER, kPopup = PF_Param_POPUP;
constexpr PF_ParamFlags kCollapsed = PF_ParamFlag_START_COLLAPSED,
                        kSupervise = PF_ParamFlag_SUPERVISE,
                        kTimeFixed = PF_ParamFlag_CANNOT_TIME_VARY;

const Expected kRows[41] = {
    {},
    {38, "About", kGroup, kCollapsed, 0},
    {39, "Brindel's Solvane v1.0.0", PF_Param_BUTTON, kSupervise, 0},
    {40, "", kEnd, 0, 0},
    {1, "Mode", kPopup, kSupervise, 0},
    {2, "Position", PF_Param_POINT, 0, 0},
    {3, "Input", kGroup, kCollapsed, 0},
    {36, "Threshold Mode", kPopup, 0, 0},
    {4, "Threshold", kFloat, 0, 0, 0, 1000, 0, 100, 0, 2, 1},
    {5, "Threshold Smooth", kFloat, 0, 0, 0, 100, 0, 100, 50, 2, 1},
    {6, "", kEnd, 0, 0},
    {7, "Style", kGroup, 0, 0},
    {8, "Length", kFloat, 0, 0, 0, 10000, 0, 2000, 2000, 2, 0},
    {9, "Amount", PF_Param_ANGLE, PF_ParamFlag_COLLAPSE_TWIRLY, PF_PUI_INVISIBLE},
    {11, "Exposure", kFloat, 0, 0, 0, 20, 0, 5, 5, 2, 0},
    {10, "Decay", kFloat, 0, 0, 0, 10, 0, 2, 1, 2, 0},
    {12, "Direction", kPopup, 0, 0},
    {33, "Chromatic Aberration", kGroup, kCollapsed, 0},
    {31, "Amount", kFloat, 0, 0, -200, 200, 0, 100, 0, 2, 1},
    {30, "Channels", kPopup, 0, 0},
    {34, "", kEnd, 0, 0},
    {13, "", kEnd, 0, 0},
    {14, "Quality", kGroup, kCollapsed, 0},
    {15, "Quality", kPopup, kTimeFixed, 0},
    {16, "Samples", kFloat, 0, 0, 1, 5000, 1, 256, 64, 0, 0},
    {17, "Noise", kFloat, 0, 0, 0, 1000, 0, 100, 100, 2, 1},
    {32, "Repeat Edges", PF_Param_CHECKBOX, 0, 0},
    {35, "Buffer Expansion", kFloat, 0, 0, 0, 1000, 0, 200, 0, 0, 0},
    {18, "", kEnd, 0, 0},
    {19, "Compositing", kGroup, kCollapsed, 0},
    {20, "Input Opacity", kFloat, 0, 0, 0, 100, 0, 100, 100, 2, 1},
    {21, "Blend Mode", kPopup, 0, 0},
    {37, "Unmult", PF_Param_CHECKBOX, 0, 0},
    {22, "View", kPopup, kTimeFixed, 0},
    {23, "", kEnd, 0, 0},
    {24, "Debug", kGroup, kCollapsed, 0},
    {25, "Left", kFloat, 0, 0, -1000, 1000, 0, 5, 0, 2, 0},
    {26, "Top", kFloat, 0, 0, -1000, 1000, 0, 5, 0, 2, 0},
    {27, "Right", kFloat, 0, 0, -1000, 1000, 0, 5, 0, 2, 0},
    {28, "Bottom", kFloat, 0, 0, -1000, 1000, 0, 5, 0, 2, 0},
    {29, "", kEnd, 0, 0},
};

class ParamRegistration : public ::testing::Test {
 protected:
  void SetUp() override {
    out_.num_params = -7;
    ASSERT_EQ(host_.ParamsSetup(&out_), PF_Err_NONE);
  }
  RegisteredParam At(int index) { return host_.Params().At(index); }

  Host host_{SOLVANE_MODULE_PATH};
  PF_OutData out_{};
};

TEST_F(ParamRegistration, EveryRowMatchesTheParameterTable) {
  ASSERT_EQ(host_.Params().Count(), 40);
  EXPECT_EQ(out_.num_params, 41);
  for (int i = 1; i <= 40; ++i) {
    SCOPED_TRACE("index " + std::to_string(i));
    const Expected& e = kRows[i];
    const PF_ParamDef& d = At(i).def;
    EXPECT_EQ(d.uu.id, e.id);
    EXPECT_STREQ(d.name, e.name);
    EXPECT_EQ(d.param_type, e.type);
    EXPECT_EQ(d.flags, e.flags);
    EXPECT_EQ(d.ui_flags, e.uiFlags);
    EXPECT_EQ(d.ui_width, 0);
    EXPECT_EQ(d.ui_height, 0);
    if (e.type != kFloat) continue;
    const PF_FloatSliderDef& fs = d.u.fs_d;
    EXPECT_EQ(fs.valid_min, e.vmin);
    EXPECT_EQ(fs.valid_max, e.vmax);
    EXPECT_EQ(fs.slider_min, e.smin);
    EXPECT_EQ(fs.slider_max, e.smax);
    EXPECT_EQ(fs.dephault, e.dflt);
    EXPECT_EQ(fs.value, double(e.dflt));
    EXPECT_EQ(fs.precision, e.precision);
    EXPECT_EQ(fs.display_flags, e.display);
    EXPECT_FLOAT_EQ(fs.curve_tolerance, 0.05f);
    EXPECT_EQ(fs.phase, 0.0);
    EXPECT_EQ(fs.fs_flags, 0u);
    EXPECT_EQ(fs.value_desc[0], '\0');
    EXPECT_EQ(fs.useExponent, 0);
    EXPECT_EQ(fs.exponent, 0.0f);
  }
}

TEST_F(ParamRegistration, PopupsCheckboxesPointAngleAndButtonCarryTheirItemsAndDefaults) {
  const struct {
    int index;
    const char* items;
    A_short choices;
    A_long dephault;
  } popups[] = {{4, "Spin|Zoom", 2, 2},
                {7, "Luma|Chroma", 2, 1},
                {16, "Out|In|In & Out", 3, 1},
                {19, "Red & Blue|Red & Green|Green & Blue", 3, 1},
                {23, "Draft|Moderate|High|Extreme|(-|Custom", 6, 2},
                {31, "Screen|Add", 2, 1},
                {33, "Input (Processed)|Rays Solo|Final Composite", 3, 3}};
  for (const auto& p : popups) {
    SCOPED_TRACE(p.items);
    const RegisteredParam r = At(p.index);
    EXPECT_EQ(r.text, p.items);
    EXPECT_EQ(r.def.u.pd.num_choices, p.choices);
    EXPECT_EQ(r.def.u.pd.dephault, p.dephault);
    EXPECT_EQ(r.def.u.pd.value, p.dephault);
  }
  EXPECT_EQ(At(26).text, "Repeat Edges");
  EXPECT_EQ(At(32).text, "(Required for Alpha)");
  for (int i : {26, 32}) {
    EXPECT_EQ(At(i).def.u.bd.value, 1);
    EXPECT_EQ(At(i).def.u.bd.dephault, 1);
  }
  const PF_PointDef& point = At(5).def.u.td;
  EXPECT_EQ(point.x_value, 0x320000);
  EXPECT_EQ(point.y_value, 0x320000);
  EXPECT_EQ(point.x_dephault, 0x320000);
  EXPECT_EQ(point.y_dephault, 0x320000);
  EXPECT_EQ(point.restrict_bounds, 0);
  EXPECT_EQ(At(13).def.u.ad.value, 0x1E0000);
  EXPECT_EQ(At(13).def.u.ad.dephault, 0x1E0000);
  EXPECT_FALSE(At(2).text.empty());  // the button face names the maker's site
}

TEST_F(ParamRegistration, NamesFitTheHostFieldAndIdsAreUnique) {
  std::set<A_long> ids;
  for (int i = 1; i <= 40; ++i) {
    const PF_ParamDef& d = At(i).def;
    EXPECT_LE(std::strlen(d.name), size_t{PF_MAX_EFFECT_PARAM_NAME_LEN}) << i;
    EXPECT_TRUE(ids.insert(d.uu.id).second) << "index " << i << " reuses id " << d.uu.id;
  }
}

TEST_F(ParamRegistration, GroupsNestAsRegistered) {
  EXPECT_EQ(At(2).group, "About");
  EXPECT_EQ(At(4).group, "");
  EXPECT_EQ(At(13).QualifiedName(), "Style/Amount");
  EXPECT_EQ(At(18).QualifiedName(), "Chromatic Aberration/Amount");
  EXPECT_EQ(At(19).group, "Chromatic Aberration");
  EXPECT_EQ(At(16).group, "Style");
  EXPECT_EQ(At(22).group, "");
  EXPECT_EQ(At(23).QualifiedName(), "Quality/Quality");
  EXPECT_EQ(At(39).group, "Debug");
}

TEST_F(ParamRegistration, NamesAreCopiedWithTheHostStrcpy) {
  EXPECT_GE(host_.Log().Count("strcpy"), 40u);
}

TEST(ParamRegistrationFailure, AnAddParamErrorAtTheFifthControlReturnsAtOnce) {
  Host host(SOLVANE_MODULE_PATH);
  host.Faults().Fail("add_param", 5, PF_Err_OUT_OF_MEMORY);
  PF_OutData out{};
  out.num_params = -7;
  EXPECT_EQ(host.ParamsSetup(&out), PF_Err_OUT_OF_MEMORY);
  EXPECT_EQ(host.Log().Count("add_param"), 5u);
  EXPECT_EQ(host.Params().Count(), 4);
  EXPECT_EQ(out.num_params, -7);
}

}  // namespace
