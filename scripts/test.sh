#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the default build, the
# AddressSanitizer build, the Windows compile check and, unless SOLVANE_SKIP_WINDOWS=1,
# the Windows module under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

section() { printf '\n== %s (%s)\n' "$1" "$(date +%T)"; }

section "default build"
scripts/build.sh default
ctest --preset default -j"$(nproc)"

if [ "${SOLVANE_SKIP_ASAN:-0}" != 1 ]; then
  section "AddressSanitizer build"
  scripts/build.sh asan
  ctest --preset asan -j"$(nproc)"
fi

if [ -x scripts/check-wgl-compile.sh ]; then
  section "Windows GL backend compile check"
  scripts/check-wgl-compile.sh
fi

if [ "${SOLVANE_SKIP_WINDOWS:-0}" != 1 ] && [ -x scripts/test-windows.sh ]; then
  section "Windows module under Wine"
  scripts/test-windows.sh
fi
section "all tests passed"
