#include "shells/ofx/HostSuites.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace solvane::ofx {
namespace {

template <typename Suite>
const Suite* Fetch(OfxHost* host, const char* name, int version) {
  if (host == nullptr || host->fetchSuite == nullptr) return nullptr;
  return static_cast<const Suite*>(host->fetchSuite(host->host, name, version));
}

HostSuites FetchAll(OfxHost* host) {
  HostSuites suites;
  suites.host = host;
  suites.property = Fetch<OfxPropertySuiteV1>(host, kOfxPropertySuite, 1);
  suites.effect = Fetch<OfxImageEffectSuiteV1>(host, kOfxImageEffectSuite, 1);
  suites.param = Fetch<OfxParameterSuiteV1>(host, kOfxParameterSuite, 1);
  suites.memory = Fetch<OfxMemorySuiteV1>(host, kOfxMemorySuite, 1);
  suites.multiThread = Fetch<OfxMultiThreadSuiteV1>(host, kOfxMultiThreadSuite, 1);
  suites.message = Fetch<OfxMessageSuiteV1>(host, kOfxMessageSuite, 1);
  char* name = nullptr;
  if (suites.property != nullptr &&
      suites.property->propGetString(host->host, kOfxPropName, 0, &name) == kOfxStatOK &&
      name != nullptr) {
    suites.passesNormalisedDefaultsRaw = std::strcmp(name, "MLT") == 0;
  }
  return suites;
}

// Every record ever published stays alive: a render on another thread may still read the
// one it found when a host hands itself over again (MLT does so for every instance, from
// its render threads).
struct Published {
  std::mutex mutex;
  std::vector<std::unique_ptr<const HostSuites>> records;
  std::atomic<const HostSuites*> current{nullptr};
};

Published& ThePublished() {
  static Published published;
  return published;
}

}  // namespace

void SetHost(OfxHost* host) {
  Published& published = ThePublished();
  std::lock_guard lock(published.mutex);
  const HostSuites* current = published.current.load();
  if (current != nullptr && current->host == host) return;
  published.records.push_back(std::make_unique<const HostSuites>(FetchAll(host)));
  published.current.store(published.records.back().get());
}

const HostSuites& Suites() {
  static const HostSuites none;
  const HostSuites* current = ThePublished().current.load();
  return current != nullptr ? *current : none;
}

bool HasRequiredSuites() {
  const HostSuites& suites = Suites();
  return suites.property != nullptr && suites.effect != nullptr && suites.param != nullptr;
}

}  // namespace solvane::ofx
