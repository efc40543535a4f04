// The callbacks of PF_PreRenderExtra (checkout_layer) and the record of what the effect
// asked for, which the smart render's checkout_layer_pixels later answers.
#pragma once

#include <mutex>
#include <vector>

#include "AE_Effect.h"

namespace solvane::host {

struct LayerCheckout {
  PF_ParamIndex index = 0;
  A_long checkoutId = 0;
  PF_RenderRequest request{};
  A_long time = 0;
  A_long timeStep = 0;
  A_u_long timeScale = 0;
};

class LayerCheckoutLog {
 public:
  void Record(const LayerCheckout& checkout);
  std::vector<LayerCheckout> All() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::vector<LayerCheckout> checkouts_;
};

// checkout_layer answers the layer's bounds at the current resolution, (0, 0, w, h), for
// both rectangles; a fully transparent layer answers an empty result_rect.
PF_PreRenderCallbacks* PreRenderCallbacks();

}  // namespace solvane::host
