#!/usr/bin/env bash
# Frames per second at 1920x1080 with Zoom Moderate (the filter's defaults): a 10-frame
# PNG sequence through FFmpeg's frei0r filter and through solvane-render --depth 8, both
# reading and writing PNG, best of three runs each; and FFmpeg copying the sequence
# without the filter, which is what reading and writing alone cost it.
#
# usage: bench/frei0r-fps.sh [BUILD_DIR]   (default: build/bench, made by scripts/bench.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(realpath "${1:-build/bench}")"
frames=10
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export FREI0R_PATH="$build/frei0r-1"

ffmpeg -nostdin -v error -f lavfi -i testsrc2=s=1920x1080:r=25 -frames:v "$frames" \
  -pix_fmt rgba -start_number 0 "$work/in_%04d.png"

# Best wall time of three runs of the command, in seconds.
best() {
  local best_ns=0
  for _ in 1 2 3; do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>"$work/stderr" || { cat "$work/stderr" >&2; exit 1; }
    end=$(date +%s%N)
    if [ "$best_ns" -eq 0 ] || [ $((end - start)) -lt "$best_ns" ]; then best_ns=$((end - start)); fi
  done
  awk -v ns="$best_ns" 'BEGIN { printf "%.3f", ns / 1e9 }'
}

report() {
  awk -v what="$1" -v s="$2" -v n="$frames" 'BEGIN { printf "%-44s %7.3f s  %6.2f fps\n", what, s, n / s }'
}

ffmpeg_in=(ffmpeg -nostdin -v error -y -start_number 0 -i "$work/in_%04d.png")
copy=$(best "${ffmpeg_in[@]}" -pix_fmt rgba -start_number 0 "$work/copy_%04d.png")
filter=$(best "${ffmpeg_in[@]}" -vf frei0r=filter_name=solvane -pix_fmt rgba -start_number 0 \
  "$work/ffmpeg_%04d.png")
cli=$(best "$build/bin/solvane-render" --module "$build/bin/Brindel's_Solvane.so" --quiet \
  --depth 8 --frames "0-$((frames - 1))" "$work/in_%04d.png" "$work/cli_%04d.png")

echo "Machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) CPUs"
report "ffmpeg, PNG in and out, no filter" "$copy"
report "ffmpeg -vf frei0r=solvane (Zoom Moderate)" "$filter"
report "solvane-render --depth 8 (Zoom Moderate)" "$cli"
