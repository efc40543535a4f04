// --ui-state: which controls are hidden or greyed out once the effect has reacted to a
// set of values, as the user would see them in the Effect Controls panel.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "host/Host.h"
#include "tools/render/ParamAssignment.h"

namespace solvane::cli {

// Runs PARAMS_SETUP, sets each value in order (sending USER_CHANGED_PARAM for supervised
// controls, as the host does when the user changes them), then UPDATE_PARAMS_UI, and
// prints every control with its state. Throws OptionError or HostError for a bad
// assignment and HostError when the effect leaves handles or checkouts behind; returns
// the first command error.
PF_Err PrintUiState(host::Host& host, const std::vector<ParamAssignment>& assignments,
                    std::ostream& out);

}  // namespace solvane::cli
