#include <io.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

#include "tools/render/Interrupt.h"

namespace solvane::cli {
namespace {

extern "C" void EndAtOnce(int signal) {
  const char* line = interrupt_detail::EndLine(signal);
  _write(2, line, unsigned(std::strlen(line)));
  std::_Exit(128 + signal);
}

extern "C" void NoteSignal(int signal) {
  interrupt_detail::Note(signal);
  // The C runtime resets a handler to the default once it has run.
  std::signal(signal, NoteSignal);
}

}  // namespace

void EndOnInterrupt() {
  std::signal(SIGINT, EndAtOnce);
  std::signal(SIGTERM, EndAtOnce);
}

void WatchInterrupts() {
  std::signal(SIGINT, NoteSignal);
  std::signal(SIGTERM, NoteSignal);
}

}  // namespace solvane::cli
