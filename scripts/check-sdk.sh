#!/usr/bin/env bash
# Builds the Windows module against Adobe's After Effects SDK headers and proves it under
# Wine through the stand-in host and solvane-render.exe built from our own declarations
# (sdk/), with the checks of scripts/test-windows.sh: --info, renders equal to the Linux
# build within one 8-bit code value, and a threaded sequence. Any difference left between
# the two declaration sets shows up as a failing check.
#   scripts/check-sdk.sh <SDK>/Examples/Headers
# Not part of scripts/test.sh: the SDK is not ours to fetch.
set -euo pipefail
cd "$(dirname "$0")/.."

checks_name=check-sdk
exe=build/windows/bin/solvane-render.exe
linux=build/default/bin/solvane-render
out=build/windows-sdk-test
module=
source scripts/windows-checks.sh

if [ "${1:-}" = --under-x ]; then
  module=$2
  run_windows_checks
  exit 0
fi

[ $# -eq 1 ] || { echo "usage: $0 <SDK>/Examples/Headers" >&2; exit 2; }
[ -f "$1/AE_Effect.h" ] || fail "$1 has no AE_Effect.h: name the SDK's Examples/Headers folder"
headers="$(cd "$1" && pwd)"
sdk_build=build/windows-sdk
started=$SECONDS

install_wine_tools
section "cross build from our declarations (the host, the tools, the reference module)"
scripts/build-windows.sh
section "Linux build (the reference outputs)"
scripts/build.sh default

section "cross build of the module against $headers"
cmake --preset windows -B "$sdk_build" -DSOLVANE_AE_SDK_DIR="$headers" \
  -DSOLVANE_BUILD_TOOLS=OFF >/dev/null
cmake --build "$sdk_build" --target solvane_module -j"$(nproc)"
grep -qx "SOLVANE_AE_SDK_DIR:PATH=$headers" "$sdk_build/CMakeCache.txt" ||
  fail "$sdk_build is not configured for $headers"

section "under Wine, the module built from Adobe's headers"
under_x "$0" "$sdk_build/bin/Brindel's_Solvane.aex"
echo "check-sdk: all checks passed in $((SECONDS - started)) s"
