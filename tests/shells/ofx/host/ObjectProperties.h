// The properties of the host and of each kind of image effect object, as the host
// declares them with the standard's defaults before the plug-in reads or writes them.
#pragma once

#include <string>

#include "PropertySet.h"

namespace solvane::ofx_host {

struct HostDescription {
  std::string name = "com.brindel.solvane.testhost";
  std::string label = "Solvane test host";
  bool background = true;
};

void DeclareHostProperties(PropertySet& p, const HostDescription& host);
void DeclareDescriptorProperties(PropertySet& p);
void DeclareClipDescriptorProperties(PropertySet& p, const std::string& name);
void DeclareClipInstanceProperties(PropertySet& p);
void DeclareInstanceProperties(PropertySet& p, const std::string& context);
void DeclareImageProperties(PropertySet& p);

}  // namespace solvane::ofx_host
