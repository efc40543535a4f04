#include "shells/ofx/Messages.h"

#include <array>
#include <atomic>
#include <cstdio>

#include "core/controls/Identity.h"
#include "shells/ofx/Describe.h"
#include "shells/ofx/HostSuites.h"

namespace solvane::ofx {
namespace {

std::array<std::atomic<bool>, size_t(Once::kCount)> told{};

}  // namespace

void PostMessage(OfxImageEffectHandle effect, const char* type, const std::string& text) {
  const OfxMessageSuiteV1* suite = Suites().message;
  if (suite != nullptr &&
      suite->message(effect, type, kPluginIdentifier, "%s", text.c_str()) == kOfxStatOK) {
    return;
  }
  // One write, so that lines of several threads do not interleave.
  const std::string line = std::string(identity::kEffectName) + ": " + text + "\n";
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}

void PostErrorOnce(OfxImageEffectHandle effect, Once cause, const std::string& text) {
  if (!told[size_t(cause)].exchange(true)) PostMessage(effect, kOfxMessageError, text);
}

}  // namespace solvane::ofx
