#include "shells/ae/GlobalResources.h"

#include <new>

#include "core/gl/Diagnostics.h"
#include "core/gl/OffscreenContext.h"
#include "core/render/GLResources.h"

namespace solvane {

void SetUpGlobalResources(HostSuiteCache& suites, PF_InData*, PF_OutData* out_data) {
  // The GL messages go where After Effects' plug-in console reads them.
  SetDiagnosticsSink(DiagnosticsSink::kStandardOutput);
  const PF_HandleSuite1* handles = suites.Handle();
  out_data->global_data = handles->host_new_handle(sizeof(GLResources));
  // The handle stays locked for the plug-in's life; renders read the record through it.
  void* memory = handles->host_lock_handle(out_data->global_data);
  if (memory == nullptr) return;
  CreateGLResources(*new (memory) GLResources{});
}

void ReleaseGlobalResources(HostSuiteCache& suites, PF_InData* in_data) {
  const PF_HandleSuite1* handles = suites.Handle();
  auto* record = static_cast<GLResources*>(handles->host_lock_handle(in_data->global_data));
  if (record != nullptr && record->context != nullptr) {
    // The record's context is made current to delete its programs; the host's own context
    // (or none) is current again afterwards, rather than none at all.
    ScopedContextRestore restore;
    ReleaseGLResources(*record);
  }
  // The record's memory goes with the handle, so a load/unload cycle leaves nothing.
  if (in_data->global_data != nullptr) handles->host_dispose_handle(in_data->global_data);
}

}  // namespace solvane
