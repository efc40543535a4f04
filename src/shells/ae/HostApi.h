// The host interface as the effect sees it: one include for the After Effects records,
// callbacks and suites, whether they come from our sdk/ or from Adobe's headers.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectCB.h"
#include "AE_EffectCBSuites.h"
#include "AE_EffectSuites.h"
#include "AE_GeneralPlug.h"
