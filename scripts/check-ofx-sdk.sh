#!/usr/bin/env bash
# Builds the project against the OpenFX standard's own headers in place of our
# declarations (sdk/ofx), runs the OpenFX suites of that build (the plug-in through our
# test host, and the interface checks compiled against those headers), cross-builds the
# Win64 plug-in against them for the PE checks, and compares every row of the interface
# table measured from both sets of headers, for Win64 and Linux.
#   scripts/check-ofx-sdk.sh OFX_INCLUDE_DIR   (or SOLVANE_OFX_SDK_DIR=OFX_INCLUDE_DIR)
# OFX_INCLUDE_DIR is the include folder of AcademySoftwareFoundation/openfx. Without one
# the check says so and is skipped: the headers are not ours to fetch.
set -euo pipefail
cd "$(dirname "$0")/.."

[ $# -le 1 ] || { echo "usage: $0 [OFX_INCLUDE_DIR]" >&2; exit 2; }
dir="${1:-${SOLVANE_OFX_SDK_DIR:-}}"
if [ -z "$dir" ]; then
  echo "check-ofx-sdk: skipped: no OpenFX headers named (pass their include folder, or set" \
    "SOLVANE_OFX_SDK_DIR)"
  exit 0
fi
fail() { echo "check-ofx-sdk: $*" >&2; exit 1; }
[ -f "$dir/ofxImageEffect.h" ] || fail "$dir has no ofxImageEffect.h: name the OpenFX include folder"
headers="$(cd "$dir" && pwd)"
build=build/ofx-sdk
win_build=build/windows-ofx-sdk
started=$SECONDS

echo "== build against $headers"
cmake --preset default -B "$build" -DSOLVANE_OFX_SDK_DIR="$headers" >/dev/null
grep -qx "SOLVANE_OFX_SDK_DIR:PATH=$headers" "$build/CMakeCache.txt" ||
  fail "$build is not configured for $headers"
cmake --build "$build" -j"$(nproc)"

echo "== the OpenFX suites of that build"
# The folders of the OpenFX suites (the shell through the test host, its units) and the
# interface checks.
for suites in tests/shells/ofx tests/sdk/ofx; do
  ctest --test-dir "$build/$suites" -j"$(nproc)" --no-tests=error --output-on-failure
done

echo "== the Win64 plug-in against $headers"
scripts/build-windows.sh >/dev/null  # GLEW's source and the encoder the cross build needs
cmake --preset windows -B "$win_build" -DSOLVANE_OFX_SDK_DIR="$headers" \
  -DSOLVANE_BUILD_TOOLS=OFF >/dev/null
grep -qx "SOLVANE_OFX_SDK_DIR:PATH=$headers" "$win_build/CMakeCache.txt" ||
  fail "$win_build is not configured for $headers"
cmake --build "$win_build" --target solvane_ofx -j"$(nproc)"
SOLVANE_WINDOWS_OFX="$win_build/ofx/Solvane.ofx.bundle/Contents/Win64/Solvane.ofx" \
  "$build/tests/windows/windows_ofx_tests"

echo "== the interface table, measured from $headers and from sdk/ofx"
scripts/measure-ofx-abi.sh --compare "$headers"
echo "check-ofx-sdk: all checks passed in $((SECONDS - started)) s"
