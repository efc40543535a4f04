#include <signal.h>
#include <unistd.h>

#include <cstring>

#include "tools/render/Interrupt.h"

namespace solvane::cli {
namespace {

extern "C" void EndAtOnce(int signal) {
  const char* line = interrupt_detail::EndLine(signal);
  // Nothing can be done about a failed write to stderr here.
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line, std::strlen(line));
  ::_exit(128 + signal);
}

extern "C" void NoteSignal(int signal) {
  interrupt_detail::Note(signal);
}

// No SA_RESTART: a blocking open or read returns EINTR, so the caller sees the signal.
void Install(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

}  // namespace

void EndOnInterrupt() {
  Install(EndAtOnce);
}

void WatchInterrupts() {
  Install(NoteSignal);
}

}  // namespace solvane::cli
