// Everything the host found wrong since a starting point: statuses the standard does not
// allow, calls it refused, and what the plug-in still holds of the host's (images,
// memory, image memory, mutexes) beyond what it held at the start.
#pragma once

#include <string>
#include <vector>

#include "Host.h"
#include "Ledger.h"

namespace solvane::ofx_host {

std::vector<std::string> HostProblems(const Host& host, const LedgerCounts& start);

}  // namespace solvane::ofx_host
