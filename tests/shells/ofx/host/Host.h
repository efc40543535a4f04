// The test host: loads an OpenFX binary, gives its image effect plug-in the host's
// property set and suites, describes it (and in each context asked for) and creates
// instances. Every action goes through Call, which logs it and records as a fault any
// status the standard does not allow for that action.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "Effect.h"
#include "ObjectProperties.h"
#include "PluginBinary.h"
#include "PropertySet.h"

namespace solvane::ofx_host {

class Instance;
struct InstanceSetup;

struct HostOptions {
  HostDescription description;
  std::set<std::string> withheldSuites;  // fetchSuite answers null for these names
  // A user's edit (Instance::SetParam) sends kOfxActionInstanceChanged, reason
  // kOfxChangeUserEdited; the plug-in's own paramSetValue sends it with
  // kOfxChangePluginEdited.
  bool notifyUserEdits = true;
  bool notifyPluginEdits = true;
  // A normalised spatial default is turned into canonical coordinates, as the standard
  // says; off, the instance gets the declared numbers themselves, as MLT hands them over.
  bool convertNormalisedDefaults = true;
};

struct ActionRecord {
  std::string action;
  OfxStatus status = kOfxStatOK;
};

class Host {
 public:
  // Loads the binary, takes its first image effect plug-in of API version 1, calls setHost
  // and kOfxActionLoad. Throws HostError naming the file and what failed.
  explicit Host(const std::string& binaryPath, HostOptions options = {});
  // kOfxActionUnload (if Load succeeded), then the binary is unloaded.
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  const OfxPlugin& Plugin() const { return *plugin_; }
  const HostOptions& Options() const { return options_; }
  PropertySet& HostProps() { return hostProps_; }

  // kOfxActionDescribe on the plug-in's descriptor.
  OfxStatus Describe();
  const Effect& Descriptor() const { return descriptor_; }
  // kOfxActionDescribeInContext on a new descriptor for the context, which starts with
  // the plug-in descriptor's properties.
  OfxStatus DescribeInContext(const std::string& context);
  // The context's descriptor; HostError when it was not described.
  const Effect& ContextDescriptor(const std::string& context) const;

  // A new instance in the setup's context (described before: HostError otherwise) after
  // kOfxActionCreateInstance; null with *status set when the action failed.
  std::unique_ptr<Instance> CreateInstance(const InstanceSetup& setup, OfxStatus* status);

  // One action; a status outside `allowed` is recorded as a fault.
  OfxStatus Call(const char* action, const void* handle, PropertySet* inArgs, PropertySet* outArgs,
                 std::initializer_list<OfxStatus> allowed);
  std::vector<ActionRecord> Actions() const;
  std::vector<std::string> Faults() const;
  void ClearLog();

  // The suite of a name and version, or null (fetchSuite's answer).
  const void* FetchSuite(const char* name, int version) const;

 private:
  HostOptions options_;
  PropertySet hostProps_;
  OfxHost ofxHost_{};
  std::unique_ptr<PluginBinary> binary_;
  OfxPlugin* plugin_ = nullptr;
  bool loaded_ = false;
  Effect descriptor_;
  std::map<std::string, std::unique_ptr<Effect>> contexts_;
  mutable std::mutex logMutex_;
  std::vector<ActionRecord> actions_;
  std::vector<std::string> faults_;
};

// The OpenFX name of a status ("kOfxStatErrValue").
std::string StatusName(OfxStatus status);

}  // namespace solvane::ofx_host
