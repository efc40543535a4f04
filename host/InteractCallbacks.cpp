#include "host/CoreSuites.h"
#include "host/Host.h"

namespace solvane::host {
namespace {

PF_Err Abort(PF_ProgPtr effect_ref) {
  Host* host = Host::FromEffectRef(effect_ref);
  return host == nullptr ? PF_Err_BAD_CALLBACK_PARAM : host->Enter("abort");
}

// Registration appends: -1, or the next free index, are the only places a control can go.
PF_Err AddParam(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def) {
  Host* host = Host::FromEffectRef(effect_ref);
  if (host == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  if (PF_Err err = host->Enter("add_param")) return err;
  if (def == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  if (index != -1 && index != host->Params().Count() + 1) return PF_Err_INVALID_INDEX;
  return host->Params().Add(*def);
}

PF_Err CheckoutParam(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time, A_long time_step,
                     A_u_long time_scale, PF_ParamDef* param) {
  Host* host = Host::FromEffectRef(effect_ref);
  if (host == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  if (PF_Err err = host->Enter("checkout_param")) return err;
  if (param == nullptr || time_scale == 0) return PF_Err_BAD_CALLBACK_PARAM;
  if (index < 0 || index > host->Params().Count()) return PF_Err_INVALID_INDEX;
  if (index == 0) {
    *param = PF_ParamDef{};
    param->param_type = PF_Param_LAYER;
  } else {
    *param = host->Params().DefinitionAt(index, double(what_time) / time_scale, host->Layer());
  }
  host->Checkouts().CheckedOut(param, {index, what_time, time_step, time_scale});
  return PF_Err_NONE;
}

PF_Err CheckinParam(PF_ProgPtr effect_ref, PF_ParamDef* param) {
  Host* host = Host::FromEffectRef(effect_ref);
  if (host == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  if (PF_Err err = host->Enter("checkin_param")) return err;
  if (param == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  host->Checkouts().CheckedIn(param);
  return PF_Err_NONE;
}

}  // namespace

PF_InteractCallbacks InteractCallbacks() {
  PF_InteractCallbacks inter{};
  inter.checkout_param = CheckoutParam;
  inter.checkin_param = CheckinParam;
  inter.add_param = AddParam;
  inter.abort = Abort;
  return inter;
}

}  // namespace solvane::host
