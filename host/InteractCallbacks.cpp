#include "host/CoreSuites.h"
#include "host/Host.h"

namespace solvane::host {
namespace {

PF_Err Abort(PF_ProgPtr effect_ref) {
  Host* host = Host::FromEffectRef(effect_ref);
  return host == nullptr ? PF_Err_BAD_CALLBACK_PARAM : host->Enter("abort");
}

}  // namespace

PF_InteractCallbacks InteractCallbacks() {
  PF_InteractCallbacks inter{};
  inter.abort = Abort;
  return inter;
}

}  // namespace solvane::host
