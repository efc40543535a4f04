// SIGINT and SIGTERM during a render: the signal is only noted, and the sequence stops at
// the next frame boundary, so that no temporary file is left behind and every frame
// already written stays whole.
#pragma once

#include <stdexcept>
#include <string>

namespace solvane::cli {

// Notes SIGINT and SIGTERM from now on instead of ending the process.
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

}  // namespace solvane::cli
