#!/usr/bin/env bash
# check-no-after-effects-code.sh FILTER MODULE: no function of the After Effects shell is
# in the frei0r filter. The shell's own functions are taken from the module itself, so
# the list cannot go stale; the module must have them, or the check would prove nothing.
set -euo pipefail
filter=$1
module=$2
shell_functions='solvane::(SetupParameters|RenderFrame|PreRender|CheckOutControls|GatherRenderParams|HandleUserChangedParam|UpdateParamsUI|SetUpGlobalResources|ReleaseGlobalResources|HostSuiteCache|OpenWebPage|GlobalSetup|About)\b'
in_module=$(nm -C "$module" | grep -cE "$shell_functions" || true)
if [ "$in_module" -lt 10 ]; then
  echo "only $in_module After Effects shell symbols found in $module: nm shows too little" >&2
  exit 1
fi
if nm -C "$filter" | grep -E "$shell_functions|PF_|AEGP_"; then
  echo "$filter holds code of the After Effects shell (above)" >&2
  exit 1
fi
echo "$filter: none of the $in_module After Effects shell symbols of $module"
