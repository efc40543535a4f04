// The frei0r 1.2 entry points. Nothing may cross back into the host as an exception: the
// C interface has no error channel, so a failure is a message on standard error and a
// defined result (no instance, or the frame passed through).
#include <cstdint>
#include <exception>
#include <string>

#include "shells/frei0r/FilterInstance.h"
#include "shells/frei0r/FilterParams.h"
#include "shells/frei0r/FilterRender.h"
#include "shells/frei0r/Frei0rApi.h"
#include "core/controls/Identity.h"
#include "core/gl/Diagnostics.h"

namespace {

using solvane::frei0r::FilterInstance;
using solvane::frei0r::FilterParams;

// Larger frames than this cannot be addressed by the render core's 32-bit sizes; the GPU
// refuses far smaller ones, which the render reports by itself.
constexpr unsigned kMaxSide = 1u << 16;

FilterInstance* InstanceOf(f0r_instance_t instance) {
  return static_cast<FilterInstance*>(instance);
}

template <typename Call>
void Guarded(const char* what, Call call) noexcept {
  try {
    call();
  } catch (const std::exception& e) {
    solvane::frei0r::PrintMessage(std::string(what) + " failed: " + e.what());
  } catch (...) {
    solvane::frei0r::PrintMessage(std::string(what) + " failed");
  }
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int f0r_init() {
  int result = 0;
  Guarded("init", [&] {
    // Standard output may be the video stream (ffmpeg -f rawvideo -, melt's consumers).
    solvane::SetDiagnosticsSink(solvane::DiagnosticsSink::kStandardError);
    solvane::frei0r::RetainGL();
    result = 1;
  });
  return result;
}

__attribute__((visibility("default"))) void f0r_deinit() {
  Guarded("deinit", [] { solvane::frei0r::ReleaseGL(); });
}

__attribute__((visibility("default"))) void f0r_get_plugin_info(f0r_plugin_info_t* info) {
  if (info == nullptr) return;
  info->name = "Solvane";
  info->author = "Brindel";
  info->plugin_type = F0R_PLUGIN_TYPE_FILTER;
  info->color_model = F0R_COLOR_MODEL_RGBA8888;
  info->frei0r_version = FREI0R_MAJOR_VERSION;
  info->major_version = solvane::identity::kMajorVersion;
  info->minor_version = solvane::identity::kMinorVersion;
  info->num_params = 0;
  info->explanation = solvane::identity::kDescription;
  Guarded("plug-in info", [&] { info->num_params = int(FilterParams().size()); });
}

__attribute__((visibility("default"))) void f0r_get_param_info(f0r_param_info_t* info,
                                                               int param_index) {
  if (info == nullptr) return;
  Guarded("parameter info", [&] {
    const auto& params = FilterParams();
    if (param_index < 0 || size_t(param_index) >= params.size()) return;
    info->name = params[size_t(param_index)].name.c_str();
    info->type = params[size_t(param_index)].frei0rType;
    info->explanation = params[size_t(param_index)].explanation.c_str();
  });
}

__attribute__((visibility("default"))) f0r_instance_t f0r_construct(unsigned int width,
                                                                    unsigned int height) {
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) {
    solvane::frei0r::PrintMessage("cannot filter a " + std::to_string(width) + " x " +
                                  std::to_string(height) + " frame");
    return nullptr;
  }
  FilterInstance* instance = nullptr;
  Guarded("construct", [&] { instance = new FilterInstance(int32_t(width), int32_t(height)); });
  return instance;
}

__attribute__((visibility("default"))) void f0r_destruct(f0r_instance_t instance) {
  delete InstanceOf(instance);
}

__attribute__((visibility("default"))) void f0r_set_param_value(f0r_instance_t instance,
                                                                f0r_param_t param,
                                                                int param_index) {
  if (instance == nullptr) return;
  Guarded("set parameter", [&] { InstanceOf(instance)->SetParam(param_index, param); });
}

__attribute__((visibility("default"))) void f0r_get_param_value(f0r_instance_t instance,
                                                                f0r_param_t param,
                                                                int param_index) {
  if (instance == nullptr) return;
  Guarded("get parameter", [&] { InstanceOf(instance)->GetParam(param_index, param); });
}

__attribute__((visibility("default"))) void f0r_update(f0r_instance_t instance, double /*time*/,
                                                       const uint32_t* inframe,
                                                       uint32_t* outframe) {
  if (instance == nullptr || inframe == nullptr || outframe == nullptr) return;
  Guarded("update", [&] {
    InstanceOf(instance)->Update(reinterpret_cast<const uint8_t*>(inframe),
                                 reinterpret_cast<uint8_t*>(outframe));
  });
}

}  // extern "C"
