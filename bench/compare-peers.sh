#!/usr/bin/env bash
# Side by side on one generated 1920x1080 picture, in one run: the effect (Zoom Moderate,
# Spin Moderate) through solvane-render, GEGL's zoom and circular motion blurs and
# ImageMagick's rotational blur at settings of comparable reach. Each tool's plain
# load-and-save time (the same tool copying the picture) is subtracted from its time.
# Installs Debian's gegl and imagemagick when they are missing (run as root).
#
# usage: bench/compare-peers.sh [REPEATS]   (default 3; the median run counts)
set -euo pipefail
cd "$(dirname "$0")/.."
repeats=${1:-3}

if ! command -v gegl >/dev/null || { [ ! -x /usr/bin/convert-im6.q16 ] && [ ! -x /usr/bin/magick ]; }; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq gegl imagemagick >/dev/null
fi
# /usr/bin first: the system's ImageMagick, not a stand-in elsewhere on PATH.
im=/usr/bin/convert-im6.q16
[ -x "$im" ] || im=/usr/bin/magick
gegl=$(command -v gegl)

render=build/bench/bin/solvane-render
if [ ! -x "$render" ]; then
  scripts/setup.sh
  cmake --preset bench >/dev/null
  cmake --build --preset bench -j"$(nproc)" --target solvane_render solvane_module
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The demo skyline scaled up four times without filtering: 1920x1080, bright windows,
# moon and sign under a transparent sky.
"$im" assets/demo/skyline.png -filter point -resize 400% "$work/in.png"
pixels=$((1920 * 1080))

median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
seconds() {  # seconds of the median of $repeats runs of "$@"
  for _ in $(seq "$repeats"); do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
  done | median
}

ours() { "$render" --param "Mode=$1" --param "Quality/Quality=Moderate" "${@:2}" "$work/in.png" "$work/out.png"; }
ours_copy() { "$render" --param "View=Input (Processed)" "$work/in.png" "$work/out.png"; }
gegl_run() { "$gegl" "$work/in.png" -o "$work/out.png" -- "$@" gegl:crop width=1920 height=1080; }
gegl_copy() { "$gegl" "$work/in.png" -o "$work/out.png" -- gegl:crop width=1920 height=1080; }
im_rot() { "$im" "$work/in.png" -rotational-blur 30 "$work/out.png"; }
im_copy() { "$im" "$work/in.png" "$work/out.png"; }

# name | samples per pixel | command... ; the copy baselines are measured once per tool.
base_ours=$(seconds ours_copy)
base_gegl=$(seconds gegl_copy)
base_im=$(seconds im_copy)

row() {  # label, samples per pixel, baseline, command...
  local label=$1 spp=$2 base=$3
  shift 3
  local total net
  total=$(seconds "$@")
  net=$(awk -v a="$total" -v b="$base" 'BEGIN { print a - b }')
  awk -v l="$label" -v s="$spp" -v t="$total" -v b="$base" -v n="$net" -v p="$pixels" 'BEGIN {
    printf "| %s | %.0f | %.2f | %.2f | %.2f | %.1f |\n", l, s, t, b, n, (n > 0 ? p * s / n / 1e6 : 0) }'
}

echo "Peers on one 1920x1080 picture, median of $repeats runs each ($(date -u +%F))"
echo
echo "| Tool and setting | Samples/px | Wall (s) | Load and save (s) | Net (s) | M samples/s |"
echo "|---|---:|---:|---:|---:|---:|"
row "Solvane Zoom Moderate (Length 2000, 230 bilinear reads)" 230 "$base_ours" ours Zoom
row "Solvane Spin Moderate (30 degrees, 600 passes x 2 bilinear reads)" 1200 "$base_ours" ours Spin
row "GEGL gegl:motion-blur-zoom factor=0.5" 111 "$base_gegl" gegl_run gegl:motion-blur-zoom factor=0.5
row "GEGL gegl:motion-blur-circular angle=30" 116 "$base_gegl" gegl_run gegl:motion-blur-circular angle=30
row "ImageMagick -rotational-blur 30 (nearest)" 51 "$base_im" im_rot
echo
echo "Load and save: solvane-render with View \"Input (Processed)\" (module load, context, upload,"
echo "read-back and PNG I/O, no rays); gegl with gegl:crop alone; convert without an operator."
