#!/usr/bin/env bash
# Installs what is missing, builds, and renders the bundled demo (a night skyline) into
# build/demo/: the main looks, each view, and a short sequence with "Position" moving.
# Every control not named keeps its default ("Unmult" on among them). The PNG previews are
# flattened over black, as the sky of the input is transparent; the EXR keeps the alpha, for
# compositing elsewhere.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh default

render=build/default/bin/solvane-render
input=assets/demo/skyline.png
out=build/demo
rm -rf "$out"
mkdir -p "$out/sequence"
"$render" --info | head -4

# The looks share a threshold that keeps the lit windows, the moon and the sign.
look=(--param Input/Threshold=35 --param "Threshold Smooth=15" --param Position=355,62)
step() { printf '  %-28s %s\n' "$1" "$2"; shift 2; "$render" --quiet "$@"; }

echo "Rendering the demo into $out/"
step "zoom out (rays from the moon)" "$out/zoom-out.png" \
  "${look[@]}" --background black "$input" "$out/zoom-out.png"
step "zoom in" "$out/zoom-in.png" \
  "${look[@]}" --param Direction=In --background black "$input" "$out/zoom-in.png"
step "spin" "$out/spin.png" \
  "${look[@]}" --param Mode=Spin --param Style/Amount=25 --param Position=240,135 \
  --background black "$input" "$out/spin.png"
step "chromatic aberration" "$out/chromatic-aberration.png" \
  "${look[@]}" --param "Chromatic Aberration/Amount=60" --background black \
  "$input" "$out/chromatic-aberration.png"
for view in "Input (Processed)" "Rays Solo" "Final Composite"; do
  name=view-$(echo "$view" | tr 'A-Z ' 'a-z-' | tr -d '()')
  step "view: $view" "$out/$name.png" \
    "${look[@]}" --param "View=$view" --background black "$input" "$out/$name.png"
done
step "float with alpha" "$out/zoom-out.exr" "${look[@]}" --depth 32 \
  "$input" "$out/zoom-out.exr"
step "sequence, 16 frames" "$out/sequence/skyline.####.png" \
  "${look[@]}" --frames 1-16 --threads 2 --key Position@1=60,40 --key Position@16=420,40 \
  --background black "$input" "$out/sequence/skyline.####.png"

echo "Done: $(find "$out" -type f | wc -l) files in $out/ (open the PNGs, or the EXR for the alpha)."
