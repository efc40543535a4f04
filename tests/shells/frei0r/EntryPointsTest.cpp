// The module's frei0r entry points as a host calls them, through dlopen: what it says of
// itself, and calls a careless host may make (null pointers, indices out of range, frame
// sizes it cannot filter) answered without a crash.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shells/frei0r/Frei0rApi.h"

namespace {

class EntryPoints : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = dlopen(SOLVANE_FREI0R_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module_, nullptr) << dlerror();
    init_ = Symbol<int (*)()>("f0r_init");
    deinit_ = Symbol<void (*)()>("f0r_deinit");
    info_ = Symbol<void (*)(f0r_plugin_info_t*)>("f0r_get_plugin_info");
    paramInfo_ = Symbol<void (*)(f0r_param_info_t*, int)>("f0r_get_param_info");
    construct_ = Symbol<f0r_instance_t (*)(unsigned, unsigned)>("f0r_construct");
    destruct_ = Symbol<void (*)(f0r_instance_t)>("f0r_destruct");
    set_ = Symbol<void (*)(f0r_instance_t, f0r_param_t, int)>("f0r_set_param_value");
    get_ = Symbol<void (*)(f0r_instance_t, f0r_param_t, int)>("f0r_get_param_value");
    update_ = Symbol<void (*)(f0r_instance_t, double, const uint32_t*, uint32_t*)>("f0r_update");
    ASSERT_EQ(init_(), 1);
  }
  void TearDown() override {
    if (deinit_ != nullptr) deinit_();
    if (module_ != nullptr) dlclose(module_);
  }
  template <typename F>
  F Symbol(const char* name) {
    return reinterpret_cast<F>(dlsym(module_, name));
  }

  void* module_ = nullptr;
  int (*init_)() = nullptr;
  void (*deinit_)() = nullptr;
  void (*info_)(f0r_plugin_info_t*) = nullptr;
  void (*paramInfo_)(f0r_param_info_t*, int) = nullptr;
  f0r_instance_t (*construct_)(unsigned, unsigned) = nullptr;
  void (*destruct_)(f0r_instance_t) = nullptr;
  void (*set_)(f0r_instance_t, f0r_param_t, int) = nullptr;
  void (*get_)(f0r_instance_t, f0r_param_t, int) = nullptr;
  void (*update_)(f0r_instance_t, double, const uint32_t*, uint32_t*) = nullptr;
};

TEST_F(EntryPoints, AFilterOfTheRgbaModelWithItsParameters) {
  f0r_plugin_info_t info{};
  info_(&info);
  EXPECT_STREQ(info.name, "Solvane");
  EXPECT_EQ(info.plugin_type, F0R_PLUGIN_TYPE_FILTER);
  EXPECT_EQ(info.color_model, F0R_COLOR_MODEL_RGBA8888);
  EXPECT_EQ(info.frei0r_version, FREI0R_MAJOR_VERSION);
  EXPECT_EQ(info.num_params, 21);
  f0r_param_info_t param{};
  paramInfo_(&param, 20);
  EXPECT_STREQ(param.name, "View");
  EXPECT_EQ(param.type, F0R_PARAM_STRING);
  f0r_param_info_t untouched{"kept", 99, "kept"};
  paramInfo_(&untouched, 21);
  paramInfo_(&untouched, -1);
  EXPECT_STREQ(untouched.name, "kept");
  info_(nullptr);
  paramInfo_(nullptr, 0);
}

TEST_F(EntryPoints, FrameSizesItCannotFilterGiveNoInstance) {
  EXPECT_EQ(construct_(0, 10), nullptr);
  EXPECT_EQ(construct_(10, 0), nullptr);
  EXPECT_EQ(construct_(1u << 20, 8), nullptr);
  destruct_(nullptr);
}

TEST_F(EntryPoints, CarelessCallsChangeNothingAndStringsStayReadable) {
  f0r_instance_t instance = construct_(8, 4);
  ASSERT_NE(instance, nullptr);
  double number = 0.25;
  set_(instance, &number, 21);
  set_(instance, &number, -5);
  set_(instance, nullptr, 6);
  const char* nothing = nullptr;
  set_(instance, &nothing, 0);
  set_(nullptr, &number, 6);
  const char* spin = "Spin";
  set_(instance, &spin, 0);
  char* mode = nullptr;
  get_(instance, &mode, 0);
  ASSERT_NE(mode, nullptr);
  EXPECT_STREQ(mode, "Spin");
  double length = 0;
  get_(instance, &length, 6);
  EXPECT_EQ(length, 1);
  get_(instance, nullptr, 6);
  std::vector<uint32_t> in(32, 0xff808080u), out(32, 0);
  update_(instance, 0, nullptr, out.data());
  update_(instance, 0, in.data(), nullptr);
  update_(nullptr, 0, in.data(), out.data());
  EXPECT_EQ(out, std::vector<uint32_t>(32, 0));
  update_(instance, 0, in.data(), out.data());
  EXPECT_NE(out, std::vector<uint32_t>(32, 0));
  destruct_(instance);
}

}  // namespace
