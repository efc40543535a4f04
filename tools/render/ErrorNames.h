// The host interface's names for error codes, for messages the user can look up.
#pragma once

#include <string>

#include "AE_Effect.h"

namespace solvane::cli {

// "PF_Err_INTERNAL_STRUCT_DAMAGED (512)"; a code without a name reads "error 1234".
std::string DescribeError(PF_Err err);

}  // namespace solvane::cli
