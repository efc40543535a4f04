#include "host/PreRenderCallbacks.h"

#include "host/Host.h"

namespace solvane::host {
namespace {

PF_Err CheckoutLayer(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long checkout_id,
                     const PF_RenderRequest* request, A_long what_time, A_long time_step,
                     A_u_long time_scale, PF_CheckoutResult* result) {
  Host* host = Host::FromEffectRef(effect_ref);
  if (host == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  if (PF_Err err = host->Enter("checkout_layer")) return err;
  if (request == nullptr || result == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  if (index != 0) return PF_Err_INVALID_INDEX;  // the layer input is the effect's only layer
  host->LayerCheckouts().Record({index, checkout_id, *request, what_time, time_step, time_scale});
  const LayerState& layer = host->Layer();
  const PF_LRect bounds{0, 0, layer.CurrentWidth(), layer.CurrentHeight()};
  *result = PF_CheckoutResult{};
  result->result_rect = layer.fullyTransparent ? PF_LRect{0, 0, 0, 0} : bounds;
  result->max_result_rect = bounds;
  result->par = {1, 1};
  result->ref_width = layer.width;
  result->ref_height = layer.height;
  return PF_Err_NONE;
}

PF_Err GuidMixIn(PF_ProgPtr effect_ref, A_u_long, const void*) {
  Host* host = Host::FromEffectRef(effect_ref);
  return host == nullptr ? PF_Err_BAD_CALLBACK_PARAM : host->Enter("GuidMixInPtr");
}

}  // namespace

void LayerCheckoutLog::Record(const LayerCheckout& checkout) {
  std::lock_guard lock(mutex_);
  checkouts_.push_back(checkout);
}

std::vector<LayerCheckout> LayerCheckoutLog::All() const {
  std::lock_guard lock(mutex_);
  return checkouts_;
}

void LayerCheckoutLog::Clear() {
  std::lock_guard lock(mutex_);
  checkouts_.clear();
}

PF_PreRenderCallbacks* PreRenderCallbacks() {
  static PF_PreRenderCallbacks callbacks{CheckoutLayer, GuidMixIn};
  return &callbacks;
}

}  // namespace solvane::host
