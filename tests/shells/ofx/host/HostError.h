// A failure of the host itself or of a plug-in binary it cannot use, with a message for
// the user that names the file or the action and the reason.
#pragma once

#include <stdexcept>

namespace solvane::ofx_host {

class HostError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace solvane::ofx_host
