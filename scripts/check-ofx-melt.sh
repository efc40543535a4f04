#!/usr/bin/env bash
# Runs the OpenFX plug-in in a real host, melt with MLT's openfx module. melt must list
# openfx.<id>. Then the six cases of the frei0r host test, a keyframed position in an MLT
# project, and real_time=-2 (frames rendered on two threads) must each match
# solvane-render --depth 8 within one code value, on every frame.
#   scripts/check-ofx-melt.sh MELT_PREFIX [BUNDLE_DIR]
# MELT_PREFIX is where scripts/build-melt-openfx.sh installed melt. BUNDLE_DIR holds
# Solvane.ofx.bundle (default build/default/ofx). solvane-render comes from SOLVANE_BUILD
# (default build/default). Prints "skipped: ..." and exits 0 when MELT_PREFIX has no melt
# with the openfx module. The frames are kept in OUT_DIR (default a new folder under /tmp).
# The reference is solvane-render run on the frames melt itself decodes with no filter. melt
# alters a picture on the way from file to filter, so the original file would not do.
set -euo pipefail
[ $# -ge 1 ] && [ $# -le 2 ] || { sed -n 2,12p "$0" >&2; exit 2; }
cd "$(dirname "$0")/.."
prefix=$(realpath -m "$1")
melt=$prefix/bin/melt
bundles=$(realpath -m "${2:-build/default/ofx}")
build=$(realpath -m "${SOLVANE_BUILD:-build/default}")
render=$build/bin/solvane-render
plugin_id=${SOLVANE_OFX_ID:-com.brindel.solvane}
service=openfx.${plugin_id//:/^}
frames=10
w=160
h=90

[ -x "$melt" ] || { echo "skipped: no melt at $melt (scripts/build-melt-openfx.sh builds one)"; exit 0; }
[ -f "$prefix/lib/mlt-7/libmltopenfx.so" ] ||
  { echo "skipped: the melt in $prefix has no openfx module (build MLT with -DMOD_OPENFX=ON)"; exit 0; }

fail() { echo "check-ofx-melt: $*" >&2; exit 1; }
failures=0
# A case that renders but does not match is counted, so every case is reported.
mismatch() { echo "check-ofx-melt: $*" >&2; failures=$((failures + 1)); }
[ -d "$bundles/Solvane.ofx.bundle" ] ||
  fail "no Solvane.ofx.bundle in $bundles: build the solvane_ofx target first"
[ -x "$render" ] || fail "no solvane-render at $render: build the solvane_render target first"
for dir in /usr/OFX/Plugins /usr/local/OFX/Plugins; do
  # melt keeps the first plug-in of an identifier it finds, and it looks here first.
  [ ! -e "$dir/Solvane.ofx.bundle" ] ||
    fail "$dir/Solvane.ofx.bundle would be loaded instead of $bundles/Solvane.ofx.bundle"
done
for tool in ffmpeg oiiotool cmp awk timeout; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
done

out=${OUT_DIR:-$(mktemp -d /tmp/check-ofx-melt.XXXXXX)}
mkdir -p "$out"
export OFX_PLUGIN_PATH=$bundles

# The cases (scripts/ofx-cases.sh). All but the default one set Position, because melt hands
# the plug-in its normalised default unconverted.
# shellcheck source=scripts/ofx-cases.sh
source scripts/ofx-cases.sh
cases=("${ofx_cases[@]}")
default_position_case=$ofx_default_position_case

# The input: the demo skyline with a transparent strip at the left, a ramp after it and a
# half-transparent band at the bottom, alternating with its mirror image, as a lossless
# video (melt's image-sequence producers hand worker threads wrong frames now and then).
write_input() {
  ffmpeg -nostdin -v error -y -i assets/demo/skyline.png -vf "scale=$w:$h,format=rgba,geq=r='r(X,Y)':g='g(X,Y)':b='b(X,Y)':a='if(lt(X,12),0,if(lt(X,24),(X-11)*255/13,if(gte(Y,$h-10),128,255)))',split[a][b];[b]hflip[c];[a][c]concat=n=2" \
    -r 25 -c:v ffv1 -pix_fmt rgba "$out/pair.mkv" &&
    ffmpeg -nostdin -v error -y -stream_loop $((frames / 2 - 1)) -i "$out/pair.mkv" -c:v ffv1 \
      -pix_fmt rgba "$out/in.mkv" || fail "cannot write $out/in.mkv"
  # melt 7.40 crashes on a profile without a description.
  printf '%s\n' description=check frame_rate_num=25 frame_rate_den=1 "width=$w" "height=$h" \
    progressive=1 sample_aspect_num=1 sample_aspect_den=1 display_aspect_num=16 \
    display_aspect_den=9 colorspace=709 >"$out/profile.tmp" && mv "$out/profile.tmp" "$out/profile" ||
    fail "cannot write $out/profile"
}

check_listed() {
  "$melt" -query filters >"$out/filters.txt" 2>&1 || fail "melt -query filters failed: $(tail -3 "$out/filters.txt")"
  grep -qx "  - $service" "$out/filters.txt" ||
    fail "melt does not list $service with OFX_PLUGIN_PATH=$bundles (see $out/filters.txt)"
  echo "melt lists $service"
}

# run_melt PREFIX REAL_TIME MELT_ARGUMENTS...: melt's frames PREFIX_0000.png... in $out, or
# a message and status 1. melt now and then exits normally without writing a frame, with or
# without a filter (1 run in 40 here); such a run is made once more, and says so.
run_melt() {
  local prefix=$1 real_time=$2 status=0
  shift 2
  for _ in 1 2; do
    rm -f "$out/$prefix"_*.png
    status=0
    timeout -k 5 300 "$melt" -quiet "$@" -consumer "avformat:$out/${prefix}_%04d.png" vcodec=png \
      pix_fmt=rgba start_number=0 "real_time=$real_time" >"$out/$prefix.log" 2>&1 || status=$?
    [ "$status" -eq 0 ] && [ ! -f "$out/${prefix}_0000.png" ] || break
    echo "$prefix: melt wrote no frame and exited normally; run again" >&2
  done
  if [ "$status" -ne 0 ]; then
    echo "$prefix: melt failed with status $status$([ "$status" -ne 139 ] || echo ' (SIGSEGV)'): $(tail -3 "$out/$prefix.log")"
    return 1
  fi
  [ -f "$out/${prefix}_$(printf %04d $((frames - 1))).png" ] ||
    { echo "$prefix: melt wrote fewer than $frames frames (see $out/$prefix.log)"; return 1; }
}

decode_reference_input() {
  local message
  message=$(run_melt decoded -1 -profile "$out/profile" "$out/in.mkv" in=0 "out=$((frames - 1))") ||
    fail "$message"
}

# run_reference PREFIX ARGUMENTS...: solvane-render on melt's decoded frames.
run_reference() {
  local prefix=$1
  shift
  "$render" --quiet --depth 8 --frames "0-$((frames - 1))" "$@" "$out/decoded_%04d.png" \
    "$out/${prefix}_%04d.png" >"$out/$prefix.log" 2>&1 ||
    fail "$prefix: solvane-render failed: $(tail -5 "$out/$prefix.log")"
}

# max_difference A.png B.png: the largest difference of one channel of one pixel.
max_difference() {
  ffmpeg -nostdin -v error -y -i "$1" -f rawvideo -pix_fmt rgba "$out/a.rgba" &&
    ffmpeg -nostdin -v error -y -i "$2" -f rawvideo -pix_fmt rgba "$out/b.rgba" ||
    { echo "check-ofx-melt: cannot read $1 or $2" >&2; echo 256; return; }
  [ "$(stat -c %s "$out/a.rgba")" = "$(stat -c %s "$out/b.rgba")" ] || { echo 256; return; }
  cmp -l "$out/a.rgba" "$out/b.rgba" | awk 'function dec(o,  n, i) { for (i = 1; i <= length(o); i++) n = n * 8 + substr(o, i, 1); return n }
    { d = dec($2) - dec($3); if (d < 0) d = -d; if (d > m) m = d } END { print m + 0 }'
}

# max_sequence_difference PREFIX_A PREFIX_B: the largest over every frame.
max_sequence_difference() {
  local f worst=0 d
  for ((f = 0; f < frames; f++)); do
    d=$(max_difference "$out/$1_$(printf %04d $f).png" "$out/$2_$(printf %04d $f).png")
    [ "$d" -le "$worst" ] || worst=$d
  done
  echo "$worst"
}

# expect_match NAME MELT_PREFIX REFERENCE_PREFIX: within one code value, and visibly rays.
expect_match() {
  local worst changed
  worst=$(max_sequence_difference "$2" "$3")
  changed=$(max_sequence_difference "$2" decoded)
  echo "$1: largest difference $worst (the filter changed the input by up to $changed)"
  if [ "$changed" -le 16 ]; then mismatch "$1: melt's frames are (nearly) the input: did the filter run?"
  elif [ "$worst" -gt 1 ]; then mismatch "$1: melt and solvane-render differ by $worst code values"
  fi
}

# run_case "NAME|MELT PARAM=VALUE|...|--|RENDER PARAM=VALUE|..." REAL_TIME [RUNS]: RUNS
# melt runs (default 1), since a race between render threads need not show every time.
run_case() {
  local name settings melt_args=() render_args=() s in_render=0 run message
  name=${1%%|*}
  IFS='|' read -r -a settings <<<"${1#*|}"
  for s in "${settings[@]}"; do
    if [ "$s" = "--" ]; then in_render=1
    elif [ $in_render = 1 ]; then render_args+=(--param "$s")
    else melt_args+=("$s")
    fi
  done
  run_reference "ref-$name" "${render_args[@]}"
  for ((run = 1; run <= ${3:-1}; run++)); do
    message=$(run_melt "melt-$name" "$2" -profile "$out/profile" "$out/in.mkv" in=0 \
      "out=$((frames - 1))" -filter "$service" "${melt_args[@]}") ||
      { mismatch "$message (run $run of ${3:-1})"; return; }
    expect_match "$name (real_time=$2, run $run)" "melt-$name" "ref-$name"
  done
}

# Position keyframed from x = 32 to x = 128 over the frames, linearly, in an MLT project as
# an editor saves it. A position held at its first key must look different.
run_keyframes() {
  local last=$((frames - 1))
  cat >"$out/keys.mlt.tmp" <<XML || fail "cannot write $out/keys.mlt"
<?xml version="1.0"?>
<mlt>
<profile description="check" width="$w" height="$h" frame_rate_num="25" frame_rate_den="1" progressive="1" sample_aspect_num="1" sample_aspect_den="1" display_aspect_num="16" display_aspect_den="9" colorspace="709"/>
<producer id="clip" in="0" out="$last"><property name="resource">$out/in.mkv</property></producer>
<playlist id="track"><entry producer="clip" in="0" out="$last"/></playlist>
<tractor id="timeline"><track producer="track"/>
<filter><property name="mlt_service">$service</property><property name="position">0=32 45;$last=128 45</property></filter>
</tractor>
</mlt>
XML
  mv "$out/keys.mlt.tmp" "$out/keys.mlt" || fail "cannot write $out/keys.mlt"
  local message
  message=$(run_melt melt-keys -1 "$out/keys.mlt") || { mismatch "$message"; return; }
  run_reference ref-keys --key "Position@0=32,45" --key "Position@$last=128,45"
  run_reference ref-unkeyed --param "Position=32,45"
  expect_match "keyframed position (MLT project)" melt-keys ref-keys
  local held
  held=$(max_sequence_difference melt-keys ref-unkeyed)
  echo "keyframed position: differs from the position held at its first key by $held"
  [ "$held" -gt 16 ] || mismatch "keyframed position: the rays did not follow the keyframes"
}

check_listed
write_input
decode_reference_input
for entry in "${cases[@]}"; do
  run_case "$entry" -1
done
run_case "$default_position_case" -1
run_case "${cases[0]/#zoom/zoom-two-threads}" -2 20
run_keyframes
[ "$failures" -eq 0 ] || fail "$failures of $((${#cases[@]} + 3)) checks did not match (frames in $out)"
echo "check-ofx-melt: every case within one code value ($("$melt" --version 2>&1 | head -1), frames in $out)"
