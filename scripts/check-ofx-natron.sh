#!/usr/bin/env bash
# Runs the OpenFX plug-in in a real host, NatronRenderer: for each case a Python script
# builds Read -> Solvane -> Write on a float EXR (no colour conversion either way, the
# project format the image's size), and the EXR Natron writes must match
# solvane-render --depth 32 on the same file within 1e-4 (premultiplied, relative to values
# above 1). The cases: the six of check-ofx-melt.sh, the default (rays from the centre),
# Buffer Expansion, whose grown region Natron must write as the EXR's data window around the
# unchanged display window, and eight frames with the position keyed on each, which Natron
# renders on its parallel render threads.
#   scripts/check-ofx-natron.sh NATRON_PREFIX [BUNDLE_DIR]
# NATRON_PREFIX is where scripts/build-natron.sh installed NatronRenderer and ReadOIIO and
# WriteOIIO. BUNDLE_DIR holds Solvane.ofx.bundle (default build/default/ofx). solvane-render
# comes from SOLVANE_BUILD (default build/default). Prints "skipped: ..." and exits 0 when
# NATRON_PREFIX has no NatronRenderer. Natron runs with a home of its own under OUT_DIR (a
# new folder under /tmp by default), so that its plug-in cache starts empty and no setting
# adds plug-in folders; the files are kept there.
set -euo pipefail
[ $# -ge 1 ] && [ $# -le 2 ] || { sed -n 2,16p "$0" >&2; exit 2; }
cd "$(dirname "$0")/.."
repo=$PWD
prefix=$(realpath -m "$1")
natron=$prefix/bin/NatronRenderer
bundles=$(realpath -m "${2:-build/default/ofx}")
build=$(realpath -m "${SOLVANE_BUILD:-build/default}")
render=$build/bin/solvane-render
plugin_id=${SOLVANE_OFX_ID:-com.brindel.solvane}
w=160
h=90
expansion=20
keyed_frames=8
tolerance=1e-4

[ -x "$natron" ] || { echo "skipped: no NatronRenderer at $natron (scripts/build-natron.sh builds one)"; exit 0; }

fail() { echo "check-ofx-natron: $*" >&2; exit 1; }
failures=0
# A case that renders but does not match is counted, so every case is reported.
mismatch() { echo "check-ofx-natron: $*" >&2; failures=$((failures + 1)); }
[ -d "$bundles/Solvane.ofx.bundle" ] ||
  fail "no Solvane.ofx.bundle in $bundles: build the solvane_ofx target first"
[ -d "$prefix/Plugins/OFX/Natron/OIIO.ofx.bundle" ] ||
  fail "no OIIO.ofx.bundle in $prefix/Plugins/OFX/Natron: Natron cannot read or write EXR (scripts/build-natron.sh)"
# Natron looks in these folders besides OFX_PLUGIN_PATH; a second Solvane could win there.
for dir in /usr/OFX/Plugins /usr/OFX/Natron /usr/OFX/Nuke "$prefix/Plugins/OFX/Natron"; do
  [ ! -e "$dir/Solvane.ofx.bundle" ] ||
    fail "$dir/Solvane.ofx.bundle could be loaded instead of $bundles/Solvane.ofx.bundle"
done
[ -x "$render" ] || fail "no solvane-render at $render: build the solvane_render target first"
for tool in /usr/bin/python3 timeout; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh --natron installs it)"
done
/usr/bin/python3 -c 'import OpenImageIO, numpy' 2>/dev/null ||
  fail "/usr/bin/python3 lacks OpenImageIO or numpy (scripts/setup.sh --natron installs them)"
exr() { /usr/bin/python3 "$repo/scripts/natron-exr.py" "$@"; }
# at_most VALUE LIMIT: VALUE (a number, "inf" or "nan") is no more than LIMIT.
at_most() { /usr/bin/python3 -c 'import sys; sys.exit(not float(sys.argv[1]) <= float(sys.argv[2]))' "$1" "$2"; }

out=$(realpath -m "${OUT_DIR:-$(mktemp -d /tmp/check-ofx-natron.XXXXXX)}")
mkdir -p "$out"
home=$out/home
rm -rf "$home"
mkdir -p "$home/cache" "$home/config" "$home/data" || fail "cannot make $home"

# The cases of check-ofx-melt.sh (scripts/ofx-cases.sh), then Buffer Expansion. Natron turns
# Position's normalised default into the centre of the project format.
# shellcheck source=scripts/ofx-cases.sh
source "$repo/scripts/ofx-cases.sh"
cases=(
  "${ofx_cases[@]}"
  "$ofx_default_position_case"
  "buffer-expansion|position=100 60|bufferExpansion=$expansion|length=600|--|Position=100,30|Buffer Expansion=$expansion|Length=600"
)

# run_natron NAME SETTINGS ROD [KEYS FRAMES OUTPUT]: Natron's frame as $out/natron-NAME.exr
# (or OUTPUT, a #### pattern, for the frames FIRST-LAST), or a message and status 1.
run_natron() {
  local name=$1 status=0 frames=${5:-1-1} output=${6:-$out/natron-$1.exr} last
  rm -f "$out/natron-$name".*
  (
    cd "$out"
    export HOME=$home XDG_CACHE_HOME=$home/cache XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data
    export OFX_PLUGIN_PATH=$bundles
    export SOLVANE_CASE_INPUT=$out/in.exr SOLVANE_CASE_OUTPUT=$output SOLVANE_CASE_KEYS=${4:-}
    export SOLVANE_CASE_SIZE="$w $h" SOLVANE_CASE_PARAMS=$2 SOLVANE_CASE_ROD=$3 SOLVANE_CASE_ID=$plugin_id
    exec timeout -k 5 300 "$natron" -w SolvaneWrite "$frames" "$repo/scripts/natron-solvane-case.py"
  ) </dev/null >"$out/natron-$name.log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    echo "$name: NatronRenderer failed with status $status$([ "$status" -ne 139 ] || echo ' (SIGSEGV)'): $(tail -5 "$out/natron-$name.log")"
    return 1
  fi
  last=${output/\#\#\#\#/$(printf %04d "${frames#*-}")}
  [ -f "$last" ] ||
    { echo "$name: NatronRenderer exited normally but wrote no $last: $(tail -5 "$out/natron-$name.log")"; return 1; }
}

# check_loaded: the Solvane Natron loaded is the one in BUNDLE_DIR, by Natron's plug-in cache.
check_loaded() {
  local listed
  listed=$(grep -rhoE '[^"]*Solvane\.ofx\.bundle[^"]*' "$home/cache" 2>/dev/null | sort -u || true)
  [ -n "$listed" ] || { mismatch "Natron's plug-in cache under $home/cache names no Solvane.ofx.bundle"; return; }
  if grep -qv "^$bundles/Solvane.ofx.bundle" <<<"$listed"; then
    mismatch "Natron loaded another Solvane: $(tr '\n' ' ' <<<"$listed")"
  else
    echo "Natron loaded $bundles/Solvane.ofx.bundle"
  fi
}

# check_windows NAME ROD: the data window Natron wrote around the display window.
check_windows() {
  local got want
  got=$(exr windows "$out/natron-$1.exr")
  if [ "$2" = 1 ]; then
    want="data -$expansion -$expansion $((w + 2 * expansion)) $((h + 2 * expansion)) display 0 0 $w $h"
  else
    want="data 0 0 $w $h display 0 0 $w $h"
  fi
  echo "$1: Natron's EXR windows: $got"
  [ "$got" = "$want" ] || mismatch "$1: Natron wrote the windows '$got', not '$want'"
}

# run_case "NAME|NATRON PARAM=VALUE|...|--|RENDER PARAM=VALUE|...": Natron's frame against
# solvane-render's, and the frame must show the effect.
run_case() {
  local name settings natron_params="" render_args=() s in_render=0 message rod=0 worst changed
  name=${1%%|*}
  IFS='|' read -r -a settings <<<"${1#*|}"
  for s in "${settings[@]}"; do
    if [ "$s" = "--" ]; then in_render=1
    elif [ $in_render = 1 ]; then render_args+=(--param "$s")
    else natron_params+="${natron_params:+|}$s"
    fi
  done
  case "$natron_params" in *bufferExpansion=*) rod=1 ;; esac
  "$render" --quiet --depth 32 "${render_args[@]}" "$out/in.exr" "$out/ref-$name.exr" \
    >"$out/ref-$name.log" 2>&1 || fail "$name: solvane-render failed: $(tail -5 "$out/ref-$name.log")"
  message=$(run_natron "$name" "$natron_params" "$rod") || { mismatch "$message"; return; }
  check_windows "$name" "$rod"
  worst=$(exr difference "$out/natron-$name.exr" "$out/ref-$name.exr")
  echo "$name: largest difference $worst"
  at_most "$worst" "$tolerance" ||
    mismatch "$name: Natron and solvane-render differ by $worst (more than $tolerance)"
  if [ "$rod" = 0 ]; then
    changed=$(exr difference "$out/natron-$name.exr" "$out/in.exr")
    ! at_most "$changed" 0.01 ||
      mismatch "$name: Natron's frame is (nearly) the input (by $changed): did the effect run?"
  fi
}

# Position keyed on every frame of 1-8, so that each frame is a render of its own (Natron
# reuses an unanimated node's frame) and Natron renders frames of one instance concurrently.
run_keyed_frames() {
  local name=keyed-frames f keys="" render_args=() message worst=0 d
  for ((f = 1; f <= keyed_frames; f++)); do
    keys+="${keys:+|}position@$f=$((20 + 15 * f)) $((30 + 3 * f))"
    render_args+=(--key "Position@$f=$((20 + 15 * f)),$((h - 30 - 3 * f))")
    cp "$out/in.exr" "$out/in.$(printf %04d "$f").exr" || fail "cannot write $out/in.$(printf %04d "$f").exr"
  done
  "$render" --quiet --depth 32 --frames "1-$keyed_frames" --param Length=800 "${render_args[@]}" \
    "$out/in.####.exr" "$out/ref-$name.####.exr" >"$out/ref-$name.log" 2>&1 ||
    fail "$name: solvane-render failed: $(tail -5 "$out/ref-$name.log")"
  message=$(run_natron "$name" "length=800" 0 "$keys" "1-$keyed_frames" "$out/natron-$name.####.exr") ||
    { mismatch "$message"; return; }
  for ((f = 1; f <= keyed_frames; f++)); do
    d=$(exr difference "$out/natron-$name.$(printf %04d "$f").exr" "$out/ref-$name.$(printf %04d "$f").exr")
    at_most "$d" "$worst" || worst=$d
  done
  echo "$name: largest difference $worst over frames 1-$keyed_frames"
  at_most "$worst" "$tolerance" ||
    mismatch "$name: Natron and solvane-render differ by $worst (more than $tolerance)"
  d=$(exr difference "$out/natron-$name.0001.exr" "$out/natron-$name.$(printf %04d "$keyed_frames").exr")
  ! at_most "$d" 0.01 || mismatch "$name: the first and last frames are (nearly) the same: did the key move the rays?"
}

exr input "$repo/assets/demo/skyline.png" "$out/in.exr" "$w" "$h" || fail "cannot write $out/in.exr"
for entry in "${cases[@]}"; do
  run_case "$entry"
done
run_keyed_frames
check_loaded
[ "$failures" -eq 0 ] || fail "$failures of $((${#cases[@]} + 1)) cases failed (files in $out)"
echo "check-ofx-natron: every case within $tolerance (NatronRenderer $(cat "$prefix/natron-version" 2>/dev/null || echo '?'), files in $out)"
