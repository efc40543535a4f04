#!/usr/bin/env bash
# Checks a render that Kdenlive or Shotcut made of a project with the filter against
# solvane-render --depth 8: the project's frames without the filter (the filter disabled,
# rendered by melt with the same scaling the editors' exports use) go through
# solvane-render with its defaults, and the editor's frames must equal them within one
# 8-bit code value.
#   scripts/check-editor-render.sh PROJECT.mlt|PROJECT.kdenlive RENDER [FRAMES]
# RENDER is a video or an image sequence ffmpeg reads (render_%05d.png); FRAMES (default
# "0 1 2") are frame numbers of the render to compare, counted from 0. The project's filter
# must hold the defaults (the editors' own, as added from their lists). Needs melt, ffmpeg,
# oiiotool and a build (SOLVANE_BUILD, default build/default).
set -euo pipefail
[ $# -ge 2 ] || { sed -n 2,10p "$0" >&2; exit 2; }
project=$(realpath "$1")
case "$2" in
  *%*) render="$(realpath "$(dirname "$2")")/$(basename "$2")" ;;
  *) render=$(realpath "$2") ;;
esac
frames=${3:-0 1 2}
cd "$(dirname "$0")/.."
build=${SOLVANE_BUILD:-build/default}
export FREI0R_PATH="$PWD/$build/frei0r-1:/usr/lib/frei0r-1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The project with every instance of the filter disabled, in the project's folder so its
# relative paths still resolve.
plain="$(dirname "$project")/.plain-$$.mlt"
trap 'rm -rf "$work" "$plain"' EXIT
sed 's|\(<property name="mlt_service">frei0r.solvane</property>\)|\1<property name="disable">1</property>|' \
  "$project" > "$plain"
last=0
for f in $frames; do [ "$f" -gt "$last" ] && last=$f; done
melt -quiet "$plain" out="$last" -consumer "avformat:$work/in_%04d.png" start_number=0 \
  vcodec=png pix_fmt=rgba rescale=bilinear mlt_image_format=rgba real_time=-1 2>/dev/null
ffmpeg -nostdin -v error -i "$render" -vf format=rgba -frames:v $((last + 1)) -start_number 0 \
  "$work/out_%04d.png"

status=0
for f in $frames; do
  n=$(printf %04d "$f")
  "$build/bin/solvane-render" --quiet --depth 8 "$work/in_$n.png" "$work/ref_$n.png"
  # 1/255 is 0.00392; anything more than one code value fails.
  if result=$(oiiotool "$work/out_$n.png" "$work/ref_$n.png" --fail 0.0041 --diff 2>&1); then
    max=$(echo "$result" | grep -o 'Max error *= *[0-9.e-]*' || echo "identical")
    echo "frame $f: equal within one code value ($max)"
  else
    echo "frame $f: DIFFERS"; echo "$result"; status=1
  fi
done
exit $status
