#include "shells/ae/GlobalCommands.h"

#include "shells/ae/GlobalResources.h"
#include "shells/ae/HostSuiteCache.h"
#include "shells/ae/Identity.h"

namespace solvane {

PF_Err About(PF_InData* in_data, PF_OutData* out_data) {
  HostSuiteCache suites(in_data->pica_basicP);
  suites.Ansi()->sprintf(out_data->return_msg, "%s v%d.%d\r%s", identity::kEffectName,
                         identity::kMajorVersion, identity::kMinorVersion,
                         identity::kDescription);
  return PF_Err_NONE;
}

PF_Err GlobalSetup(PF_InData* in_data, PF_OutData* out_data) {
  // The flags are written before any host call so they stand whatever happens next.
  out_data->my_version = identity::kVersionWord;
  out_data->out_flags = identity::kOutFlags;
  out_data->out_flags2 = identity::kOutFlags2;
  if (static_cast<uint32_t>(in_data->appl_id) == identity::kPremiereApplicationId) {
    out_data->out_flags = identity::kOutFlagsPremiere;
  }
  HostSuiteCache suites(in_data->pica_basicP);
  SetUpGlobalResources(suites, in_data, out_data);
  return PF_Err_NONE;
}

PF_Err GlobalSetdown(PF_InData* in_data) {
  HostSuiteCache suites(in_data->pica_basicP);
  ReleaseGlobalResources(suites, in_data);
  return PF_Err_NONE;
}

}  // namespace solvane
