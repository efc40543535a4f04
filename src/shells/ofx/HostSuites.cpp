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
  if (host != nullptr) {
    suites.hostProperties = host->host;
    suites.fetchSuite = host->fetchSuite;
  }
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
  int loads = 0;
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
  const bool same = current != nullptr && current->host == host &&
                    (host == nullptr || (current->hostProperties == host->host &&
                                         current->fetchSuite == host->fetchSuite));
  if (same) return;
  published.records.push_back(std::make_unique<const HostSuites>(FetchAll(host)));
  published.current.store(published.records.back().get());
}

void NoteLoad() {
  Published& published = ThePublished();
  std::lock_guard lock(published.mutex);
  ++published.loads;
}

void NoteUnload() {
  Published& published = ThePublished();
  std::lock_guard lock(published.mutex);
  if (published.loads > 0 && --published.loads == 0) published.current.store(nullptr);
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
