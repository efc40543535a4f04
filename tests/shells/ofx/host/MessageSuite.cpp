// The message suite (versions 1 and 2): messages are kept in the ledger with the effect
// they name; a question is answered "no", as a host without a user would.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "Ledger.h"
#include "Suites.h"

namespace solvane::ofx_host {
namespace {

std::string Format(const char* format, va_list args) {
  if (format == nullptr) return "";
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length < 0) return format;
  std::string text(size_t(length) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  text.resize(size_t(length));
  return text;
}

bool KnownType(const char* type) {
  for (const char* known : {kOfxMessageFatal, kOfxMessageError, kOfxMessageWarning,
                            kOfxMessageMessage, kOfxMessageLog, kOfxMessageQuestion}) {
    if (type != nullptr && std::strcmp(type, known) == 0) return true;
  }
  return false;
}

OfxStatus Post(void* handle, const char* type, const char* id, const char* format, va_list args,
               bool persistent) {
  if (!KnownType(type)) {
    Ledger::Get().Misuse(std::string("a message of unknown type ") + (type ? type : "(null)"));
    return kOfxStatErrValue;
  }
  Ledger::Get().Message({type, id ? id : "", Format(format, args), handle, persistent});
  return std::strcmp(type, kOfxMessageQuestion) == 0 ? kOfxStatReplyNo : kOfxStatOK;
}

OfxStatus Message(void* handle, const char* type, const char* id, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const OfxStatus status = Post(handle, type, id, format, args, false);
  va_end(args);
  return status;
}

OfxStatus SetPersistentMessage(void* handle, const char* type, const char* id, const char* format,
                               ...) {
  va_list args;
  va_start(args, format);
  const OfxStatus status = Post(handle, type, id, format, args, true);
  va_end(args);
  return status;
}

OfxStatus ClearPersistentMessage(void* /*handle*/) {
  return kOfxStatOK;
}

constexpr OfxMessageSuiteV1 kSuiteV1 = {Message};
constexpr OfxMessageSuiteV2 kSuiteV2 = {Message, SetPersistentMessage, ClearPersistentMessage};

}  // namespace

const OfxMessageSuiteV1& MessageSuiteV1() {
  return kSuiteV1;
}

const OfxMessageSuiteV2& MessageSuiteV2() {
  return kSuiteV2;
}

}  // namespace solvane::ofx_host
