#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the default build (warnings are
# errors here), a render farm on a one-node Slurm cluster, the AddressSanitizer build, the
# threaded suites under ThreadSanitizer, the fuzz targets for SOLVANE_FUZZ_SECONDS (10)
# each, the build against the OpenFX headers where SOLVANE_OFX_SDK_DIR names them, the
# Windows compile check and, unless SOLVANE_SKIP_WINDOWS=1, the Windows module
# under Wine. A stage that runs no test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

section() { printf '\n== %s (%s)\n' "$1" "$(date +%T)"; }
# A stage's script that lost its run bit (or went missing) fails the run instead of being
# skipped without a word.
require() {
  [ -x "$1" ] || { echo "test.sh: $1 is missing or not executable" >&2; exit 1; }
}

# CI's llvmpipe always gives a GL context: a GL test that cannot make one fails here
# rather than skipping.
export SOLVANE_REQUIRE_GL=1

section "default build"
cmake --preset default -DSOLVANE_WERROR=ON >/dev/null
scripts/build.sh default
ctest --preset default -j"$(nproc)" --no-tests=error

# A job array on a one-node Slurm cluster started from the packages: chunks, a task
# killed and resubmitted, the frames byte for byte those of one process (about 40 s).
if [ "${SOLVANE_SKIP_SLURM:-0}" != 1 ]; then
  section "render farm on a one-node Slurm cluster"
  require scripts/test-slurm.sh
  scripts/test-slurm.sh build/default/bin/solvane-render
fi

if [ "${SOLVANE_SKIP_ASAN:-0}" != 1 ]; then
  section "AddressSanitizer build"
  scripts/build.sh asan
  # The farm, signal and odd-output suites drive the tool as a process for minutes and
  # exercise no memory the other suites do not; the default build runs them.
  ctest --preset asan -j"$(nproc)" --no-tests=error \
    -E '^(FarmCli|SignalsAtAnyTime|NonRegularOutputs)\.'

fi

# The suites that render on several threads: render threads, kept frame targets, the
# host's render pool, and OpenFX instances on threads of our OpenFX test host. Only their
# targets are built (about 3 minutes on 2 cores from a cold cache, 30 seconds of tests).
if [ "${SOLVANE_SKIP_TSAN:-0}" != 1 ]; then
  section "ThreadSanitizer, threaded suites"
  cmake --preset tsan >/dev/null
  cmake --build --preset tsan -j"$(nproc)" \
    --target smart_render_tests frame_targets_tests render_pool_tests ofx_test_host_tests \
    ofx_plugin_tests
  ctest --preset tsan -j"$(nproc)" --no-tests=error \
    -R '^(SmartRenderThreads|FrameTargets|FrameTargetSlots|Frames|MultiThreadSuite)\.|^RenderTest\.(InstancesOnSeveralThreads|OnlyTheRenderWindow)'
fi

# Every parser fuzzed from its seed corpus for a bounded time (10 seconds a target, plus
# the build): any crash, leak, sanitizer report, timeout or OOM fails.
if [ "${SOLVANE_SKIP_FUZZ:-0}" != 1 ]; then
  section "fuzz targets"
  require scripts/fuzz.sh
  SOLVANE_FUZZ_SECONDS=${SOLVANE_FUZZ_SECONDS:-10} scripts/fuzz.sh
fi

# The plug-in built against the OpenFX standard's own headers, where SOLVANE_OFX_SDK_DIR
# names their include folder; without it the stage says it is skipped.
section "OpenFX headers check"
require scripts/check-ofx-sdk.sh
scripts/check-ofx-sdk.sh

section "Windows GL backend compile check"
require scripts/check-wgl-compile.sh
scripts/check-wgl-compile.sh

if [ "${SOLVANE_SKIP_WINDOWS:-0}" != 1 ]; then
  section "Windows module under Wine"
  require scripts/test-windows.sh
  scripts/test-windows.sh
fi
section "all tests passed"
