// The AEGP suites and "PF Param Utils Suite" the effect uses for its layer, its effect
// handle, its parameter streams and their UI state.
#pragma once

#include "host/SuiteRegistry.h"

namespace solvane::host {

// Offers "AEGP PF Interface Suite" 1, "AEGP Layer Suite" 13, "AEGP Effect Suite" 2,
// "AEGP Stream Suite" 7, "AEGP Dynamic Stream Suite" 2 and "PF Param Utils Suite" 3.
void OfferAegpSuites(SuiteRegistry& suites);

}  // namespace solvane::host
