#include "host/FrameContext.h"
#include "host/Host.h"

namespace solvane::host {
namespace {

thread_local FrameContext* currentFrame = nullptr;

// The input was requested under checkout id 0 at pre-render; the host knows no other id.
constexpr A_long kInputCheckoutId = 0;

PF_Err CheckoutLayerPixels(PF_ProgPtr effect_ref, A_long checkout_id, PF_EffectWorld** pixels) {
  Host* host = Host::FromEffectRef(effect_ref);
  if (host == nullptr || pixels == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  *pixels = nullptr;
  if (PF_Err err = host->Enter("checkout_layer_pixels")) return err;
  FrameContext* frame = CurrentFrame();
  if (frame == nullptr || checkout_id != kInputCheckoutId) return PF_Err_BAD_CALLBACK_PARAM;
  frame->inputCheckedOut = true;
  *pixels = &frame->inputRecord;
  return PF_Err_NONE;
}

PF_Err CheckinLayerPixels(PF_ProgPtr effect_ref, A_long checkout_id) {
  Host* host = Host::FromEffectRef(effect_ref);
  if (host == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  if (PF_Err err = host->Enter("checkin_layer_pixels")) return err;
  FrameContext* frame = CurrentFrame();
  if (frame == nullptr || checkout_id != kInputCheckoutId || !frame->inputCheckedOut) {
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  frame->inputCheckedOut = false;
  return PF_Err_NONE;
}

PF_Err CheckoutOutput(PF_ProgPtr effect_ref, PF_EffectWorld** output) {
  Host* host = Host::FromEffectRef(effect_ref);
  if (host == nullptr || output == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  *output = nullptr;
  if (PF_Err err = host->Enter("checkout_output")) return err;
  FrameContext* frame = CurrentFrame();
  if (frame == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  frame->outputCheckedOut = true;
  *output = frame->output.Get();
  return PF_Err_NONE;
}

}  // namespace

FrameContext* CurrentFrame() {
  return currentFrame;
}

FrameScope::FrameScope(FrameContext* frame) : previous_(currentFrame) {
  currentFrame = frame;
}

FrameScope::~FrameScope() {
  currentFrame = previous_;
}

PF_SmartRenderCallbacks SmartRenderCallbacks() {
  PF_SmartRenderCallbacks cb{};
  cb.checkout_layer_pixels = CheckoutLayerPixels;
  cb.checkin_layer_pixels = CheckinLayerPixels;
  cb.checkout_output = CheckoutOutput;
  return cb;
}

}  // namespace solvane::host
