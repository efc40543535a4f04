// The stand-in host reports its own failures (a module it cannot load, a value it refuses)
// as HostError, with a message meant for the user.
#pragma once

#include <stdexcept>
#include <string>

namespace solvane::host {

class HostError : public std::runtime_error {
 public:
  explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace solvane::host
