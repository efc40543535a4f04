#include <windows.h>
#include <shellapi.h>

#include <atomic>

#include "shells/ae/OpenWebPage.h"

namespace solvane {
namespace {

void OpenWithShell(const char* url) {
  ShellExecuteA(nullptr, "open", url, nullptr, nullptr, SW_SHOWNORMAL);
}

std::atomic<WebPageOpener> opener{&OpenWithShell};

}  // namespace

void OpenWebPage(const char* url) { opener.load()(url); }

void SetWebPageOpenerForTesting(WebPageOpener replacement) {
  opener.store(replacement != nullptr ? replacement : &OpenWithShell);
}

}  // namespace solvane
