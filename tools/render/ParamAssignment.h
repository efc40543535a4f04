// --param NAME=VALUE: naming a control and giving it a value in the user's terms. NAME is
// a display name, "Group/Name" for the duplicated ones, or a host index; VALUE a number,
// a popup item's text or number, "x,y" (layer pixels) for points, on/off for checkboxes.
#pragma once

#include <stdexcept>
#include <string>

#include "host/ParamStore.h"

namespace solvane::cli {

// A malformed option or a value that cannot be read; the message is meant for the user.
class OptionError : public std::runtime_error {
 public:
  explicit OptionError(const std::string& message) : std::runtime_error(message) {}
};

struct ParamAssignment {
  std::string name;
  std::string value;
};

// Splits "NAME=VALUE" at the first '='; throws OptionError when either side is empty.
ParamAssignment ParseParamAssignment(const std::string& text);

// Reads VALUE for the control's kind; throws OptionError when it cannot. Range checks are
// the host's (ParamStore::Set).
host::ParamValue ParseParamValue(const host::RegisteredParam& param, const std::string& text);

// Finds the control and sets its value; returns its index. Throws OptionError or HostError.
PF_ParamIndex ApplyParamAssignment(host::ParamStore& store, const ParamAssignment& assignment);

}  // namespace solvane::cli
