// Holds the host interface declarations to the layout that After Effects uses: every size,
// alignment, offset, constant, suite name and slot type of host-interface-layout.tsv is a
// static_assert, so a declaration that drifts fails to compile on Win64 and on Linux.
#include <cstddef>
#include <string_view>
#include <type_traits>

#include "A.h"
#include "AE_Effect.h"
#include "AE_EffectCB.h"
#include "AE_EffectCBSuites.h"
#include "AE_EffectSuites.h"
#include "AE_GeneralPlug.h"
#include "SPBasic.h"

#include "HostLayoutChecks.h"
