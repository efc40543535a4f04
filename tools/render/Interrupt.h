// SIGINT and SIGTERM. Until the command first writes a file, a signal ends the process at
// once (nothing is on disk to keep whole, and a blocking read of a FIFO or a slow GL
// set-up must not outlive it). From the first write on, the signal is only noted: a
// sequence stops at the next frame boundary, so that no temporary file is left behind and
// every frame already written stays whole.
#pragma once

#include <stdexcept>
#include <string>

namespace solvane::cli {

// From now on SIGINT and SIGTERM end the process with 128 + signal and the line
// "solvane-render: stopped by SIGTERM before anything was written".
void EndOnInterrupt();

// Notes SIGINT and SIGTERM from now on instead of ending the process. A blocking system
// call (the open of a FIFO without a reader) returns EINTR where the platform has it.
void WatchInterrupts();

// The signal noted since WatchInterrupts, or 0.
int InterruptSignal();

// A render stopped by a signal; main exits with 128 + signal, as a shell reports it.
class Interrupted : public std::runtime_error {
 public:
  Interrupted(int signal, const std::string& message)
      : std::runtime_error(message), signal_(signal) {}
  int Signal() const { return signal_; }

 private:
  int signal_;
};

// "SIGINT" or "SIGTERM".
std::string SignalName(int signal);

// What the handlers share: the signal noted, and the line printed when ending at once.
namespace interrupt_detail {
void Note(int signal);
// A constant line for `signal`, safe to hand to write() in a signal handler.
const char* EndLine(int signal);
}  // namespace interrupt_detail

}  // namespace solvane::cli
