// A parameter's value written as text, as the command line takes it: a number (nan and
// inf too), a choice's option text or number, on/off (or 1/0, true/false) for booleans,
// "x,y" for 2D parameters.
#pragma once

#include <string>
#include <vector>

#include "ParamSet.h"

namespace solvane::ofx_host {

// The numbers of `text` for the parameter; throws std::invalid_argument with a message
// naming the parameter and what it takes.
std::vector<double> ParseParamValue(const Param& param, const std::string& text);

}  // namespace solvane::ofx_host
