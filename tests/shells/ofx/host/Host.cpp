#include "Host.h"

#include <algorithm>
#include <cstring>

#include "HostError.h"
#include "Instance.h"
#include "Suites.h"

namespace solvane::ofx_host {
namespace {

std::mutex hostsMutex;
std::map<OfxPropertySetHandle, const Host*> hosts;

const void* FetchSuiteOf(OfxPropertySetHandle hostHandle, const char* name, int version) {
  const Host* host = nullptr;
  {
    std::lock_guard lock(hostsMutex);
    const auto found = hosts.find(hostHandle);
    if (found != hosts.end()) host = found->second;
  }
  return host == nullptr || name == nullptr ? nullptr : host->FetchSuite(name, version);
}

OfxPlugin* FindImageEffect(const PluginBinary& binary) {
  const int count = binary.NumberOfPlugins();
  for (int i = 0; i < count; ++i) {
    OfxPlugin* plugin = binary.Plugin(i);
    if (plugin != nullptr && plugin->pluginApi != nullptr &&
        std::strcmp(plugin->pluginApi, kOfxImageEffectPluginApi) == 0 &&
        plugin->apiVersion == kOfxImageEffectPluginApiVersion) {
      return plugin;
    }
  }
  return nullptr;
}

}  // namespace

std::string StatusName(OfxStatus status) {
  static const char* const kNames[] = {"kOfxStatOK",
                                       "kOfxStatFailed",
                                       "kOfxStatErrFatal",
                                       "kOfxStatErrUnknown",
                                       "kOfxStatErrMissingHostFeature",
                                       "kOfxStatErrUnsupported",
                                       "kOfxStatErrExists",
                                       "kOfxStatErrFormat",
                                       "kOfxStatErrMemory",
                                       "kOfxStatErrBadHandle",
                                       "kOfxStatErrBadIndex",
                                       "kOfxStatErrValue",
                                       "kOfxStatReplyYes",
                                       "kOfxStatReplyNo",
                                       "kOfxStatReplyDefault"};
  if (status >= 0 && status <= kOfxStatReplyDefault) return kNames[status];
  if (status == kOfxStatErrImageFormat) return "kOfxStatErrImageFormat";
  return "status " + std::to_string(status);
}

Host::Host(const std::string& binaryPath, HostOptions options)
    : options_(std::move(options)),
      hostProps_("the host"),
      descriptor_(EffectKind::kPluginDescriptor, "the plug-in's descriptor") {
  DeclareHostProperties(hostProps_, options_.description);
  binary_ = std::make_unique<PluginBinary>(binaryPath);
  plugin_ = FindImageEffect(*binary_);
  if (plugin_ == nullptr) {
    throw HostError(binaryPath + " has no image effect plug-in of API version 1");
  }
  if (plugin_->setHost == nullptr || plugin_->mainEntry == nullptr) {
    throw HostError(binaryPath + ": the plug-in has no setHost or no main entry");
  }
  {
    std::lock_guard lock(hostsMutex);
    hosts[hostProps_.Handle()] = this;
  }
  ofxHost_.host = hostProps_.Handle();
  ofxHost_.fetchSuite = FetchSuiteOf;
  descriptor_.Props().SetString(kOfxPluginPropFilePath, binaryPath);
  plugin_->setHost(&ofxHost_);
  const OfxStatus status =
      Call(kOfxActionLoad, nullptr, nullptr, nullptr, {kOfxStatOK, kOfxStatReplyDefault});
  if (status != kOfxStatOK && status != kOfxStatReplyDefault) {
    std::lock_guard lock(hostsMutex);
    hosts.erase(hostProps_.Handle());
    throw HostError(binaryPath + ": kOfxActionLoad answered " + StatusName(status));
  }
  loaded_ = true;
}

Host::~Host() {
  contexts_.clear();
  if (loaded_) {
    Call(kOfxActionUnload, nullptr, nullptr, nullptr, {kOfxStatOK, kOfxStatReplyDefault});
  }
  std::lock_guard lock(hostsMutex);
  hosts.erase(hostProps_.Handle());
}

const void* Host::FetchSuite(const char* name, int version) const {
  if (options_.withheldSuites.count(name) != 0) return nullptr;
  const std::string suite = name;
  if (suite == kOfxPropertySuite && version == 1) return &PropertySuite();
  if (suite == kOfxImageEffectSuite && version == 1) return &ImageEffectSuite();
  if (suite == kOfxParameterSuite && version == 1) return &ParameterSuite();
  if (suite == kOfxMemorySuite && version == 1) return &MemorySuite();
  if (suite == kOfxMultiThreadSuite && version == 1) return &MultiThreadSuite();
  if (suite == kOfxMessageSuite && version == 1) return &MessageSuiteV1();
  if (suite == kOfxMessageSuite && version == 2) return &MessageSuiteV2();
  return nullptr;
}

OfxStatus Host::Call(const char* action, const void* handle, PropertySet* inArgs,
                     PropertySet* outArgs, std::initializer_list<OfxStatus> allowed) {
  const OfxStatus status = plugin_->mainEntry(action, handle, inArgs ? inArgs->Handle() : nullptr,
                                              outArgs ? outArgs->Handle() : nullptr);
  std::lock_guard lock(logMutex_);
  actions_.push_back({action, status});
  if (std::find(allowed.begin(), allowed.end(), status) == allowed.end()) {
    faults_.push_back(std::string(action) + " answered " + StatusName(status));
  }
  return status;
}

std::vector<ActionRecord> Host::Actions() const {
  std::lock_guard lock(logMutex_);
  return actions_;
}

std::vector<std::string> Host::Faults() const {
  std::lock_guard lock(logMutex_);
  return faults_;
}

void Host::ClearLog() {
  std::lock_guard lock(logMutex_);
  actions_.clear();
  faults_.clear();
}

OfxStatus Host::Describe() {
  return Call(kOfxActionDescribe, descriptor_.Handle(), nullptr, nullptr, {kOfxStatOK});
}

OfxStatus Host::DescribeInContext(const std::string& context) {
  // The context's descriptor starts with what Describe set.
  auto effect = std::make_unique<Effect>(descriptor_, "the descriptor in " + context);
  PropertySet inArgs("the arguments of kOfxImageEffectActionDescribeInContext");
  inArgs.DeclareStrings(kOfxImageEffectPropContext, {context});
  const OfxStatus status = Call(kOfxImageEffectActionDescribeInContext, effect->Handle(), &inArgs,
                                nullptr, {kOfxStatOK, kOfxStatErrMissingHostFeature});
  effect->Params().CloseDefinitions();
  contexts_[context] = std::move(effect);
  return status;
}

const Effect& Host::ContextDescriptor(const std::string& context) const {
  const auto found = contexts_.find(context);
  if (found == contexts_.end()) throw HostError("the context " + context + " was not described");
  return *found->second;
}

std::unique_ptr<Instance> Host::CreateInstance(const InstanceSetup& setup, OfxStatus* status) {
  auto instance = std::make_unique<Instance>(*this, ContextDescriptor(setup.context), setup);
  const OfxStatus created = instance->Create();
  if (status != nullptr) *status = created;
  if (created != kOfxStatOK && created != kOfxStatReplyDefault) return nullptr;
  return instance;
}

}  // namespace solvane::ofx_host
