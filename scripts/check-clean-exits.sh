#!/usr/bin/env bash
# Runs the documented host command lines many times and counts the runs that did not end
# normally: gst-launch-1.0 (5 buffers) and melt on two worker threads (real_time=-2), each
# with the built filter. An abnormal exit is a non-zero status, a signal, a timeout, or
# gst-launch's own "Caught SIGSEGV" report. It also says whether the host process loaded
# libGLX (the GL library whose exit-time teardown raced the hosts' render threads).
#   scripts/check-clean-exits.sh [GST_RUNS [MELT_RUNS [FILTER_DIR]]]
# Defaults: 300 gst-launch runs, 100 melt runs, build/default/frei0r-1. Not part of the
# tests (it takes minutes); CI runs a short version.
set -uo pipefail
cd "$(dirname "$0")/.."

gst_runs=${1:-300}
melt_runs=${2:-100}
filter_dir=$(realpath "${3:-build/default/frei0r-1}")
if [ ! -f "$filter_dir/solvane.so" ]; then
  echo "check-clean-exits: no solvane.so in $filter_dir (build it first)" >&2
  exit 2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export FREI0R_PATH=$filter_dir GST_REGISTRY=$work/gst-registry.bin

# --gst-disable-segtrap: a crash ends the run at once instead of gst-launch waiting for a
# debugger until the timeout; it changes nothing else.
gst_command=(gst-launch-1.0 -q --gst-disable-segtrap videotestsrc num-buffers=5 ! videoconvert ! video/x-raw,format=RGBA
  ! frei0r-filter-solvane mode=spin blend-mode=add input-opacity=0.6
  ! videoconvert ! pngenc ! multifilesink "location=$work/gst_%04d.png")
printf 'description=check\nwidth=160\nheight=90\nframe_rate_num=25\nframe_rate_den=1\nprogressive=1\n' >"$work/profile"
printf 'sample_aspect_num=1\nsample_aspect_den=1\ndisplay_aspect_num=16\ndisplay_aspect_den=9\n' \
  >>"$work/profile"
melt_command=(melt -quiet -profile "$work/profile" color:#336699 out=9
  -filter frei0r.solvane Mode=spin
  -consumer "avformat:$work/melt_%04d.png" vcodec=png real_time=-2)

# One run: 0 when it ended normally, else what went wrong.
run_once() {
  local err=$work/stderr.txt status
  timeout -k 5 60 "$@" >/dev/null 2>"$err" </dev/null
  status=$?
  if grep -q "Caught SIGSEGV" "$err"; then echo "SIGSEGV report (status $status)"; return 1; fi
  if [ $status -eq 124 ] || [ $status -eq 137 ]; then echo "timeout"; return 1; fi
  if [ $status -gt 128 ]; then echo "signal $((status - 128))"; return 1; fi
  if [ $status -ne 0 ]; then echo "status $status: $(tail -n 1 "$err")"; return 1; fi
  return 0
}

# Whether a run of the command maps libGLX, as the dynamic loader reports every object it
# opens (dlopen included).
loads_glx() {
  local count
  # grep reads everything (no -q): an early close would end the host by SIGPIPE.
  count=$(LD_DEBUG=files "$@" 2>&1 >/dev/null </dev/null | grep -c "file=libGLX" || true)
  if [ "${count:-0}" -gt 0 ]; then echo yes; else echo no; fi
}

loop() {
  local name=$1 runs=$2 abnormal=0 i why
  shift 2
  for ((i = 1; i <= runs; i++)); do
    if ! why=$(run_once "$@"); then
      abnormal=$((abnormal + 1))
      echo "  $name run $i: $why"
    fi
  done
  echo "$name: $runs runs, $abnormal abnormal exits, libGLX loaded: $(loads_glx "$@")"
  return $((abnormal > 0))
}

# GStreamer finds the filter by scanning plug-ins into its registry, in a helper process
# (gst-plugin-scanner) that loads the filter and exits; a crash there leaves the filter out.
# The registry is made once, in this process if the helper failed, before the loop.
prime_registry() {
  if gst-inspect-1.0 frei0r-filter-solvane >/dev/null 2>&1; then
    echo "gst-plugin-scanner: scanned the filter and exited normally"
  else
    echo "gst-plugin-scanner: crashed or left the filter out; scanning in-process instead"
    rm -f "$GST_REGISTRY"
    gst-inspect-1.0 --gst-disable-registry-fork frei0r-filter-solvane >/dev/null
  fi
}

echo "filter: $filter_dir/solvane.so"
prime_registry || { echo "check-clean-exits: GStreamer does not find the filter" >&2; exit 2; }
failed=0
loop gst-launch-1.0 "$gst_runs" "${gst_command[@]}" || failed=1
loop melt "$melt_runs" "${melt_command[@]}" || failed=1
exit $failed
