#include "tools/render/Interrupt.h"

#include <atomic>
#include <csignal>

namespace solvane::cli {
namespace {

// Lock-free, so the handler may store it.
std::atomic<int> noted{0};
static_assert(std::atomic<int>::is_always_lock_free);

}  // namespace

namespace interrupt_detail {

void Note(int signal) {
  int none = 0;
  noted.compare_exchange_strong(none, signal);
}

const char* EndLine(int signal) {
  return signal == SIGINT ? "solvane-render: stopped by SIGINT before anything was written\n"
                          : "solvane-render: stopped by SIGTERM before anything was written\n";
}

}  // namespace interrupt_detail

int InterruptSignal() {
  return noted.load();
}

std::string SignalName(int signal) {
  if (signal == SIGINT) return "SIGINT";
  if (signal == SIGTERM) return "SIGTERM";
  return "signal " + std::to_string(signal);
}

}  // namespace solvane::cli
