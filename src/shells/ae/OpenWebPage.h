// Opens a web page in the user's browser. The result is not reported: a missing browser
// is no error for the effect.
#pragma once

namespace solvane {

using WebPageOpener = void (*)(const char* url);

void OpenWebPage(const char* url);

// Replaces the opener (tests use this so no browser starts); null restores the system one.
void SetWebPageOpenerForTesting(WebPageOpener opener);

}  // namespace solvane
