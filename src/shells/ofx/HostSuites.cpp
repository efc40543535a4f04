#include "shells/ofx/HostSuites.h"

namespace solvane::ofx {
namespace {

HostSuites suites;

template <typename Suite>
const Suite* Fetch(OfxHost* host, const char* name, int version) {
  if (host == nullptr || host->fetchSuite == nullptr) return nullptr;
  return static_cast<const Suite*>(host->fetchSuite(host->host, name, version));
}

}  // namespace

// Hosts call setHost once, before Load, from one thread.
void SetHost(OfxHost* host) {
  suites = {};
  suites.host = host;
  suites.property = Fetch<OfxPropertySuiteV1>(host, kOfxPropertySuite, 1);
  suites.effect = Fetch<OfxImageEffectSuiteV1>(host, kOfxImageEffectSuite, 1);
  suites.param = Fetch<OfxParameterSuiteV1>(host, kOfxParameterSuite, 1);
  suites.memory = Fetch<OfxMemorySuiteV1>(host, kOfxMemorySuite, 1);
  suites.multiThread = Fetch<OfxMultiThreadSuiteV1>(host, kOfxMultiThreadSuite, 1);
  suites.message = Fetch<OfxMessageSuiteV1>(host, kOfxMessageSuite, 1);
}

const HostSuites& Suites() {
  return suites;
}

bool HasRequiredSuites() {
  return suites.property != nullptr && suites.effect != nullptr && suites.param != nullptr;
}

}  // namespace solvane::ofx
