// A Windows plug-in module stays loaded once a host has loaded it, as the Linux ones do with
// -z nodelete: a render thread's GL resources are released by that thread's exit, which
// may come after the host has unloaded the module (FFmpeg does at the end of a graph).
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&DllMain), &self);
  }
  return TRUE;
}
