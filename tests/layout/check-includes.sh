#!/usr/bin/env bash
# The rules between the source folders, read from the includes themselves: the core
# includes no shell and no host API, no shell includes another, the stand-in host reaches
# only the core's shared pixel and control rules, and controls and GL know nothing of each
# other. Prints every include that breaks a rule; exits 1 if there is any.
set -uo pipefail
root="$1"
cd "$root" || exit 2
failed=0

# forbid FOLDER REGEX WHY: no file under FOLDER may include a path matching REGEX.
forbid() {
  local hits
  hits=$(grep -rnE "^#include \"($2)" "$1" --include='*.h' --include='*.cpp' --include='*.c')
  if [ -n "$hits" ]; then
    printf '%s\n%s\n' "$3:" "$hits"
    failed=1
  fi
}

host_api='A\.h|AE_[A-Za-z]*\.h|SPBasic\.h|frei0r\.h|shells/'
forbid src/core "$host_api" "the core includes a shell or a host API"
forbid src/shells/ae 'shells/frei0r/' "the After Effects shell includes another shell"
forbid src/shells/frei0r 'shells/ae/|A\.h|AE_[A-Za-z]*\.h|SPBasic\.h' \
  "the frei0r shell includes another shell or After Effects' API"
forbid host 'shells/|core/(render|gl|shaders|platform)/|core/controls/(Control|UiRules|Identity)' \
  "the stand-in host includes effect internals"
forbid src/core/controls 'core/(gl|render)/' "the controls include GL"
forbid src/core/gl 'core/(controls|render)/' "the GL toolkit includes the controls"
exit $failed
