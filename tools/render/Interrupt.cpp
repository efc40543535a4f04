#include "tools/render/Interrupt.h"

#include <atomic>
#include <csignal>

namespace solvane::cli {
namespace {

// Lock-free, so the handler may store it.
std::atomic<int> noted{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void NoteSignal(int signal) {
  int none = 0;
  noted.compare_exchange_strong(none, signal);
}

}  // namespace

void WatchInterrupts() {
  std::signal(SIGINT, NoteSignal);
  std::signal(SIGTERM, NoteSignal);
}

int InterruptSignal() {
  return noted.load();
}

std::string SignalName(int signal) {
  if (signal == SIGINT) return "SIGINT";
  if (signal == SIGTERM) return "SIGTERM";
  return "signal " + std::to_string(signal);
}

}  // namespace solvane::cli
