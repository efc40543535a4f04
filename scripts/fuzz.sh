#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset) and runs each one from its seed corpus in
# tests/fuzz/corpus/<target>/ for a bounded time. Fails on any crash, leak, sanitizer
# report, timeout (-timeout) or running out of memory (-rss_limit_mb); the input that did
# it is kept under build/fuzz/artifacts/<target>/ and its path printed.
#
#   scripts/fuzz.sh                     every target for SOLVANE_FUZZ_SECONDS (30) each
#   scripts/fuzz.sh --seconds 600 preset_fuzz frame_pattern_fuzz
#                                       longer runs of the named targets
#   scripts/fuzz.sh --no-build ...      runs what is built (a second run beside a first)
#
# What a run finds is added to build/fuzz/corpus/<target>/, which later runs start from as
# well, so long runs build on each other; the seeds in tests/ are never written. Add an
# input worth keeping to tests/fuzz/corpus/<target>/ by hand (regression-* for a fault
# that was fixed).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${SOLVANE_FUZZ_SECONDS:-30}
build=1
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --no-build) build=0; shift ;;
    -h|--help) sed -n '2,17p' "$0"; exit 0 ;;
    *) targets+=("$1"); shift ;;
  esac
done
all=(preset_fuzz param_value_fuzz frame_pattern_fuzz image_header_fuzz registration_fuzz
     module_resource_fuzz frei0r_param_fuzz)
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")

if [ $build = 1 ]; then
  scripts/setup.sh --fuzz
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz -j"$(nproc)"
fi

# Leaks are reported at the end of each input, an undefined behaviour stops the run; the
# suppressions are the same third-party ones the AddressSanitizer tests use.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

failed=()
for t in "${targets[@]}"; do
  program=build/fuzz/fuzz/$t
  seeds=tests/fuzz/corpus/$t
  [ -x "$program" ] || { echo "fuzz.sh: no target $t" >&2; exit 1; }
  [ -d "$seeds" ] || { echo "fuzz.sh: no seed corpus $seeds" >&2; exit 1; }
  found=build/fuzz/corpus/$t
  artifacts=build/fuzz/artifacts/$t
  log=build/fuzz/logs/$t.log
  mkdir -p "$found" "$artifacts" build/fuzz/logs
  dict=()
  [ -f tests/fuzz/dict/$t.dict ] && dict=(-dict=tests/fuzz/dict/$t.dict)
  # OpenImageIO has no frame pointers: only the slow unwinder sees its frames, which the
  # suppression of its PNG reader's leak names.
  unwind=
  [ "$t" = image_header_fuzz ] && unwind=:fast_unwind_on_malloc=0
  printf '%-22s %4ss ' "$t" "$seconds"
  status=0
  ASAN_OPTIONS="$ASAN_OPTIONS$unwind" "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "${dict[@]}" "$found" "$seeds" >"$log" 2>&1 || status=$?
  # libFuzzer's own exit status covers crashes, leaks, timeouts and memory; a sanitizer
  # report that did not stop the run still fails it.
  if [ $status -ne 0 ] || grep -qE 'runtime error:|^==[0-9]+==ERROR:|^SUMMARY: ' "$log"; then
    echo "FAILED (exit $status)"
    grep -E 'ERROR:|runtime error:|SUMMARY:|Test unit written to' "$log" | head -8 | sed 's/^/    /'
    echo "    full log: $log"
    failed+=("$t")
  else
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    edges=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
    echo "ok: ${runs:-?} runs, ${edges:-?} edges"
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: failed: ${failed[*]}" >&2
  exit 1
fi
