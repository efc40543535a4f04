// The host's own function tables: the SP Basic suite, the ANSI and handle suites, and the
// in_data utility and interaction callbacks. All of them find their host through
// Host::Current() or the effect_ref, log the call and honour injected faults.
#pragma once

#include "AE_EffectCB.h"
#include "host/SuiteRegistry.h"

namespace solvane::host {

SPBasicSuite* BasicSuite();
PF_UtilCallbacks* UtilCallbacks();
PF_InteractCallbacks InteractCallbacks();

// Offers "PF ANSI Suite" v1 and "PF Handle Suite" v1 and v2.
void OfferCoreSuites(SuiteRegistry& suites);

}  // namespace solvane::host
