// The properties a parameter of each type has, as a host declares them before the
// plug-in's describe writes them, with the standard's defaults.
#pragma once

#include <string>

#include "PropertySet.h"

namespace solvane::ofx_host {

void DeclareParamProperties(PropertySet& props, const std::string& name, const std::string& type);

}  // namespace solvane::ofx_host
