#include "RenderPoolFakeEffect.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "AE_EffectCBSuites.h"

namespace solvane::host::fake {
namespace {

struct ThreadResources {
  ThreadResources() { ++LiveThreadResources(); }
  ~ThreadResources() {
    --LiveThreadResources();
    ++ReleasedThreadResources();
  }
};

PF_Err PreRender(PF_InData* in_data, PF_PreRenderExtra* extra) {
  PF_CheckoutResult checkout{};
  const PF_Err err = extra->cb->checkout_layer(in_data->effect_ref, 0, 0,
                                               &extra->input->output_request, in_data->current_time,
                                               in_data->time_step, in_data->time_scale, &checkout);
  if (err != PF_Err_NONE) return err;
  const A_long g = Settings().grow;
  const PF_LRect& r = checkout.result_rect;
  if (r.left < r.right && r.top < r.bottom) {
    extra->output->result_rect = {r.left - g, r.top - g, r.right + g, r.bottom + g};
  }
  extra->output->flags = PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS;
  return PF_Err_NONE;
}

// Rows of 8-bit input copied into the output at (grow, grow); the frame's time in the
// blue channel of output pixel (0, 0).
void CopyInto(const PF_EffectWorld& input, PF_EffectWorld& output, A_long at, A_long time) {
  for (A_long y = 0; y < input.height; ++y) {
    const auto* from = reinterpret_cast<const char*>(input.data) + y * input.rowbytes;
    auto* to = reinterpret_cast<char*>(output.data) + (y + at) * output.rowbytes + at * 4;
    std::memcpy(to, from, size_t(input.width) * 4);
  }
  reinterpret_cast<PF_Pixel8*>(output.data)->blue = A_u_char(time);
}

PF_Err Composite(PF_InData* in_data, PF_EffectWorld* input, PF_EffectWorld* output) {
  const PF_WorldTransformSuite1* suite = nullptr;
  const void* found = nullptr;
  PF_Err err = in_data->pica_basicP->AcquireSuite(kPFWorldTransformSuite, 1, &found);
  if (err != PF_Err_NONE) return err;
  suite = static_cast<const PF_WorldTransformSuite1*>(found);
  PF_CompositeMode mode{PF_Xfer_SCREEN, 0, 254, false, 0};
  err = suite->transfer_rect(in_data->effect_ref, in_data->quality, PF_MF_Alpha_PREMUL,
                             in_data->field, &output->extent_hint, input, &mode, nullptr,
                             Settings().grow, Settings().grow, output);
  in_data->pica_basicP->ReleaseSuite(kPFWorldTransformSuite, 1);
  return err;
}

PF_Err Render(PF_InData* in_data, PF_SmartRenderExtra* extra) {
  static thread_local ThreadResources resources;
  (void)resources;
  PF_EffectWorld* input = nullptr;
  PF_EffectWorld* output = nullptr;
  PF_Err err = extra->cb->checkout_layer_pixels(in_data->effect_ref, Settings().checkoutId, &input);
  if (err == PF_Err_NONE) err = extra->cb->checkout_output(in_data->effect_ref, &output);
  if (err != PF_Err_NONE || input == nullptr || output == nullptr) return err;
  if (Settings().renderMilliseconds > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(Settings().renderMilliseconds));
  }
  if (extra->input->bitdepth == 8)
    CopyInto(*input, *output, Settings().grow, in_data->current_time);
  if (Settings().composite) err = Composite(in_data, input, output);
  return err != PF_Err_NONE ? err : in_data->inter.abort(in_data->effect_ref);
}

}  // namespace

Behaviour& Settings() {
  static Behaviour behaviour;
  return behaviour;
}

std::atomic<int>& LiveThreadResources() {
  static std::atomic<int> count{0};
  return count;
}

std::atomic<int>& ReleasedThreadResources() {
  static std::atomic<int> count{0};
  return count;
}

PF_Err EntryPoint(PF_Cmd cmd, PF_InData* in_data, PF_OutData*, PF_ParamDef*[], PF_LayerDef*,
                  void* extra) {
  if (cmd == PF_Cmd_SMART_PRE_RENDER) {
    return PreRender(in_data, static_cast<PF_PreRenderExtra*>(extra));
  }
  if (cmd == PF_Cmd_SMART_RENDER) return Render(in_data, static_cast<PF_SmartRenderExtra*>(extra));
  return PF_Err_NONE;
}

}  // namespace solvane::host::fake
