// Loaded by frei0r_exit_race_host after the filter, so exit() runs this library's finaliser
// after the GL libraries' own: it marks that moment for the host's threads and gives them
// time to end before the process does.
#include <atomic>
#include <chrono>
#include <thread>

extern "C" {
__attribute__((visibility("default"))) std::atomic<bool> glLibrariesFinalised{false};
}

__attribute__((destructor)) static void MarkGlLibrariesFinalised() {
  glLibrariesFinalised.store(true);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
}
