#include "tools/render/UiStateCommand.h"

#include <cstdio>

#include "host/HostError.h"

namespace solvane::cli {
namespace {

std::string StateOf(const host::ParamStore& store, PF_ParamIndex index) {
  std::string state;
  if (store.Hidden(index)) {
    state = "hidden";
  } else if (store.HiddenByGroup(index)) {
    state = "hidden with its group";
  }
  if (store.Disabled(index)) state += state.empty() ? "greyed out" : ", greyed out";
  return state.empty() ? "shown" : state;
}

// The effect must give back every handle it obtained; say which it kept.
void CheckBalances(host::Host& host) {
  const std::vector<std::string> kept = host.Aegp().Undisposed();
  if (!kept.empty()) {
    std::string list;
    for (const std::string& k : kept) list += (list.empty() ? "" : ", ") + k;
    throw host::HostError("the effect did not dispose of " + list);
  }
  if (const int open = host.Checkouts().Outstanding()) {
    throw host::HostError("the effect left " + std::to_string(open) +
                          " parameter checkouts without check-in");
  }
}

}  // namespace

PF_Err PrintUiState(host::Host& host, const std::vector<ParamAssignment>& assignments,
                    std::ostream& out) {
  if (const PF_Err err = host.ParamsSetup()) return err;
  host::ParamStore& store = host.Params();
  for (const ParamAssignment& assignment : assignments) {
    const PF_ParamIndex index = ApplyParamAssignment(store, assignment);
    if ((store.At(index).def.flags & PF_ParamFlag_SUPERVISE) != 0) {
      if (const PF_Err err = host.UserChangedParam(index)) return err;
    }
  }
  if (const PF_Err err = host.UpdateParamsUI()) return err;
  CheckBalances(host);
  char line[160];
  std::snprintf(line, sizeof line, "%5s  %-40s %s\n", "index", "control", "state");
  out << line;
  for (int index = 1; index <= store.Count(); ++index) {
    const host::RegisteredParam p = store.At(index);
    if (p.def.param_type == PF_Param_GROUP_END) continue;
    std::snprintf(line, sizeof line, "%5d  %-40s %s\n", index, p.QualifiedName().c_str(),
                  StateOf(store, index).c_str());
    out << line;
  }
  return PF_Err_NONE;
}

}  // namespace solvane::cli
