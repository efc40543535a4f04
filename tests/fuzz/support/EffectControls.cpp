#include "EffectControls.h"

#include <cstdlib>
#include <cstring>

#include "AE_EffectCB.h"

#include "shells/ae/ParamSetup.h"

namespace solvane::fuzz {
namespace {

PF_Err AddToStore(PF_ProgPtr effectRef, PF_ParamIndex, PF_ParamDefPtr def) {
  return reinterpret_cast<host::ParamStore*>(effectRef)->Add(*def);
}

}  // namespace

void RegisterEffectControls(host::ParamStore& store) {
  store.Reset();
  static _PF_UtilCallbacks utils = [] {
    _PF_UtilCallbacks u{};
    u.ansi.strcpy = [](A_char* to, const A_char* from) { return std::strcpy(to, from); };
    return u;
  }();
  PF_InData in{};
  PF_OutData out{};
  in.utils = &utils;
  in.inter.add_param = AddToStore;
  in.effect_ref = reinterpret_cast<PF_ProgPtr>(&store);
  // A table the store refuses is a fault of the build, not of the input: stop at once.
  if (SetupParameters(&in, &out, nullptr, nullptr) != PF_Err_NONE) std::abort();
}

host::LayerState FuzzLayer() {
  host::LayerState layer;
  layer.width = 1920;
  layer.height = 1080;
  layer.timeStep = 1;
  layer.timeScale = 25;
  return layer;
}

}  // namespace solvane::fuzz
