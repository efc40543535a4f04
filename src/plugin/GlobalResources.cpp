#include "plugin/GlobalResources.h"

#include <new>

#include "gl/OffscreenContext.h"
#include "render/GLResources.h"

namespace solvane {
namespace {

// A private context with both programs, or none; the caller's current context (possibly
// none) is current again afterwards.
void CreateGlobalContext(GLResources& record) {
  OffscreenContext* previous = CaptureCurrentContext();
  OffscreenContext* context = CreateOffscreenContext(nullptr);
  if (IsContextValid(context)) {
    record.context = context;
    BuildPrograms(record);
  } else {
    FreeOffscreenContext(context);
  }
  MakeContextCurrent(previous);
  FreeOffscreenContext(previous);
}

}  // namespace

void SetUpGlobalResources(HostSuiteCache& suites, PF_InData*, PF_OutData* out_data) {
  const PF_HandleSuite1* handles = suites.Handle();
  out_data->global_data = handles->host_new_handle(sizeof(GLResources));
  // The handle stays locked for the plug-in's life; renders read the record through it.
  void* memory = handles->host_lock_handle(out_data->global_data);
  if (memory == nullptr) return;
  CreateGlobalContext(*new (memory) GLResources{});
}

void ReleaseGlobalResources(HostSuiteCache& suites, PF_InData* in_data) {
  const PF_HandleSuite1* handles = suites.Handle();
  auto* record = static_cast<GLResources*>(handles->host_lock_handle(in_data->global_data));
  if (record != nullptr && record->context != nullptr) {
    ReleaseGLResources(*record);
    MakeContextCurrent(nullptr);
  }
  // The record's memory goes with the handle, so a load/unload cycle leaves nothing.
  if (in_data->global_data != nullptr) handles->host_dispose_handle(in_data->global_data);
}

}  // namespace solvane
