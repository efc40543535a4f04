// Settings of the multithread suite: how many threads multiThread runs at most and the
// CPU count it reports.
#pragma once

namespace solvane::ofx_host {

void SetHostThreadCount(unsigned int threads);
unsigned int HostThreadCount();

}  // namespace solvane::ofx_host
