#include "plugin/GlobalResources.h"

#include <new>

#include "plugin/GLResources.h"

namespace solvane {

void SetUpGlobalResources(HostSuiteCache& suites, PF_InData*, PF_OutData* out_data) {
  const PF_HandleSuite1* handles = suites.Handle();
  out_data->global_data = handles->host_new_handle(sizeof(GLResources));
  void* memory = handles->host_lock_handle(out_data->global_data);
  if (memory == nullptr) return;
  new (memory) GLResources{};
}

void ReleaseGlobalResources(HostSuiteCache& suites, PF_InData* in_data) {
  const PF_HandleSuite1* handles = suites.Handle();
  if (in_data->global_data == nullptr) return;
  handles->host_dispose_handle(in_data->global_data);
}

}  // namespace solvane
