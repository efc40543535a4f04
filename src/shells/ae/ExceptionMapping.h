// Nothing is thrown across the host boundary: a thrown 32-bit integer is an error code and
// becomes the command's result; anything else becomes PF_Err_INTERNAL_STRUCT_DAMAGED.
#pragma once

#include "shells/ae/HostApi.h"

namespace solvane {

template <typename Handler>
PF_Err RunGuarded(Handler&& handler) noexcept {
  try {
    return handler();
  } catch (A_long code) {
    return code;
  } catch (...) {
    return PF_Err_INTERNAL_STRUCT_DAMAGED;
  }
}

}  // namespace solvane
