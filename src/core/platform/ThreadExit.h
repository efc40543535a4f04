// Clean-up that runs on a thread when the thread ends, such as releasing the thread's own
// OpenGL context. On Linux it is a thread_local destructor. A MinGW-built Windows module
// cannot use those: its emulated thread-local storage is torn down around them at thread
// exit, so they read freed memory or deadlock. There the clean-up runs from a fibre-local
// storage callback, which Windows calls on the ending thread.
#pragma once

namespace solvane {

using ThreadExitFunction = void (*)(void* data);

// Runs function(data) on the calling thread when it ends; a thread's registrations run in
// reverse order. On Windows, what is still registered when the module is unloaded runs
// then, on the unloading thread, so no callback outlives the module's code.
void RunAtThreadExit(ThreadExitFunction function, void* data);

}  // namespace solvane
