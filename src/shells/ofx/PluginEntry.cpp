// The binary's two exported functions and the one entry point every action comes through.
#include <cstring>
#include <exception>
#include <new>
#include <string>

#include "core/controls/ControlTable.h"
#include "core/controls/Identity.h"
#include "core/render/SharedProbe.h"
#include "shells/ofx/Describe.h"
#include "shells/ofx/EffectInstance.h"
#include "shells/ofx/HostSuites.h"
#include "shells/ofx/Messages.h"
#include "shells/ofx/Regions.h"
#include "shells/ofx/Render.h"

namespace solvane::ofx {
namespace {

std::string AboutText() {
  return std::string(identity::kEffectName) + " v" + std::to_string(identity::kMajorVersion) +
         "." + std::to_string(identity::kMinorVersion) + "\n" + identity::kDescription + "\n" +
         kMakerWebPage;
}

// The About button shows the effect's name, version and description; every other change
// may show or grey parameters.
OfxStatus InstanceChanged(OfxImageEffectHandle effect, OfxPropertySetHandle inArgs) {
  const EffectInstance* instance = InstanceOf(effect);
  if (instance == nullptr) return kOfxStatErrBadHandle;
  char* type = nullptr;
  char* name = nullptr;
  double time = 0;
  const OfxPropertySuiteV1* props = Suites().property;
  if (props->propGetString(inArgs, kOfxPropType, 0, &type) != kOfxStatOK ||
      props->propGetString(inArgs, kOfxPropName, 0, &name) != kOfxStatOK || type == nullptr ||
      name == nullptr || std::strcmp(type, kOfxTypeParameter) != 0) {
    return kOfxStatReplyDefault;
  }
  props->propGetDouble(inArgs, kOfxPropTime, 0, &time);
  if (std::strcmp(name, "about") == 0) {
    PostMessage(effect, kOfxMessageMessage, AboutText());
    return kOfxStatOK;
  }
  return ApplyUiRules(*instance, time);
}

OfxStatus Load() {
  if (!HasRequiredSuites()) return kOfxStatErrMissingHostFeature;
  NoteLoad();
  RetainSharedProbe();
  return kOfxStatOK;
}

OfxStatus Unload() {
  ReleaseSharedProbe();
  NoteUnload();
  return kOfxStatOK;
}

OfxStatus Dispatch(const char* action, OfxImageEffectHandle effect, OfxPropertySetHandle inArgs,
                   OfxPropertySetHandle outArgs) {
  const auto is = [action](const char* name) { return std::strcmp(action, name) == 0; };
  if (is(kOfxActionLoad)) return Load();
  if (!HasRequiredSuites()) return kOfxStatErrMissingHostFeature;
  if (is(kOfxActionUnload)) return Unload();
  if (is(kOfxActionDescribe)) return Describe(effect);
  if (is(kOfxImageEffectActionDescribeInContext)) return DescribeInContext(effect, inArgs);
  if (is(kOfxActionCreateInstance)) return CreateInstance(effect);
  if (is(kOfxActionDestroyInstance)) return DestroyInstance(effect);
  if (is(kOfxActionInstanceChanged)) return InstanceChanged(effect, inArgs);
  if (is(kOfxImageEffectActionGetRegionOfDefinition)) {
    return GetRegionOfDefinition(effect, inArgs, outArgs);
  }
  if (is(kOfxImageEffectActionGetRegionsOfInterest)) {
    return GetRegionsOfInterest(effect, inArgs, outArgs);
  }
  if (is(kOfxImageEffectActionGetClipPreferences)) return GetClipPreferences(effect, outArgs);
  if (is(kOfxImageEffectActionRender)) return Render(effect, inArgs);
  return kOfxStatReplyDefault;
}

// No exception leaves the plug-in: the host is C.
OfxStatus MainEntry(const char* action, const void* handle, OfxPropertySetHandle inArgs,
                    OfxPropertySetHandle outArgs) {
  if (action == nullptr) return kOfxStatErrBadHandle;
  try {
    auto* effect = static_cast<OfxImageEffectHandle>(const_cast<void*>(handle));
    return Dispatch(action, effect, inArgs, outArgs);
  } catch (const std::bad_alloc&) {
    return kOfxStatErrMemory;
  } catch (const std::exception& e) {
    PostMessage(static_cast<OfxImageEffectHandle>(const_cast<void*>(handle)), kOfxMessageError,
                e.what());
    return kOfxStatFailed;
  } catch (...) {
    return kOfxStatFailed;
  }
}

void SetHostFromHost(OfxHost* host) {
  SetHost(host);
}

OfxPlugin plugin = {kOfxImageEffectPluginApi,
                    kOfxImageEffectPluginApiVersion,
                    kPluginIdentifier,
                    unsigned(identity::kMajorVersion),
                    unsigned(identity::kMinorVersion),
                    SetHostFromHost,
                    MainEntry};

}  // namespace
}  // namespace solvane::ofx

OfxExport int OfxGetNumberOfPlugins(void) {
  return 1;
}

OfxExport OfxPlugin* OfxGetPlugin(int nth) {
  return nth == 0 ? &solvane::ofx::plugin : nullptr;
}
