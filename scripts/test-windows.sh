#!/usr/bin/env bash
# Proves the Windows module in a Windows process. Installs what is missing, cross-builds
# (scripts/build-windows.sh), checks the module as a PE file, then runs solvane-render.exe
# under Wine on a virtual X server, where WGL renders on Mesa's llvmpipe, and compares its
# output with the Linux build's (scripts/windows-checks.sh); then the frei0r filter
# solvane.dll against the Linux one (scripts/frei0r-windows-checks.sh), and the OpenFX
# bundle (PE checks of its Win64 binary first) against the Linux one
# (scripts/ofx-windows-checks.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

checks_name=test-windows
exe=build/windows/bin/solvane-render.exe
linux=build/default/bin/solvane-render
out=build/windows-test
module=
source scripts/windows-checks.sh
source scripts/frei0r-windows-checks.sh
source scripts/ofx-windows-checks.sh

if [ "${1:-}" = --under-x ]; then
  run_windows_checks
  run_frei0r_windows_checks
  run_ofx_windows_checks
  exit 0
fi

started=$SECONDS
install_wine_tools
section "cross build"
scripts/build-windows.sh
section "Linux build (the reference outputs, and the PE checks)"
scripts/build.sh default
SOLVANE_WINDOWS_MODULE="build/windows/bin/Brindel's_Solvane.aex" \
  build/default/tests/windows/windows_module_tests
SOLVANE_WINDOWS_FREI0R=build/windows/frei0r-1/solvane.dll \
  build/default/tests/windows/windows_frei0r_tests
SOLVANE_WINDOWS_OFX=build/windows/ofx/Solvane.ofx.bundle/Contents/Win64/Solvane.ofx \
  build/default/tests/windows/windows_ofx_tests

section "under Wine"
under_x "$0"
echo "test-windows: all checks passed in $((SECONDS - started)) s"
