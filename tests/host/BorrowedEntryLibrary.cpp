// A library that defines the effect's entry point name, linked by a module that does not:
// a host that resolved the name through the module's dependencies would call this.
#include "AE_Effect.h"

extern "C" __attribute__((visibility("default"))) PF_Err EntryPointFunc(PF_Cmd, PF_InData*,
                                                                        PF_OutData*, PF_ParamDef*[],
                                                                        PF_LayerDef*, void*) {
  return PF_Err_INTERNAL_STRUCT_DAMAGED;
}

extern "C" __attribute__((visibility("default"))) int BorrowedEntryLibraryVersion() {
  return 1;
}
