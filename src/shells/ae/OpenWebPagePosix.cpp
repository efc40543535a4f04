#include <spawn.h>
#include <sys/wait.h>

#include <atomic>

#include "shells/ae/OpenWebPage.h"

extern char** environ;

namespace solvane {
namespace {

// A shell starts xdg-open in the background and exits at once; waiting for that shell is
// immediate, and the browser launcher ends up detached, adopted by init. posix_spawn is
// safe to call from a multi-threaded host, unlike fork followed by more work in the child.
void OpenWithXdgOpen(const char* url) {
  char* const argv[] = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"),
                        const_cast<char*>("xdg-open \"$1\" >/dev/null 2>&1 &"),
                        const_cast<char*>("sh"), const_cast<char*>(url), nullptr};
  pid_t shell = 0;
  if (posix_spawn(&shell, "/bin/sh", nullptr, nullptr, argv, environ) != 0) return;
  int status = 0;
  waitpid(shell, &status, 0);
}

std::atomic<WebPageOpener> opener{&OpenWithXdgOpen};

}  // namespace

void OpenWebPage(const char* url) { opener.load()(url); }

void SetWebPageOpenerForTesting(WebPageOpener replacement) {
  opener.store(replacement != nullptr ? replacement : &OpenWithXdgOpen);
}

}  // namespace solvane
