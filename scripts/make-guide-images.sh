#!/usr/bin/env bash
# Renders the user guide's pictures (docs/images/guide-*.png) from the bundled demo with
# the built solvane-render, and labels the contact sheets. Run after scripts/build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
render=build/default/bin/solvane-render
input=assets/demo/skyline.png
images=docs/images
work=build/guide
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
[ -f "$font" ] || scripts/setup.sh --images
mkdir -p "$images" "$work"

base=(--param Input/Threshold=35 --param "Threshold Smooth=15" --param Position=355,62)
# One picture at 240x135 with its label; "$@" are the controls that differ from base.
tile() {
  local name=$1 label=$2
  shift 2
  "$render" --quiet --downsample 2 "${base[@]}" "$@" --background black "$input" "$work/$name.png"
  oiiotool "$work/$name.png" --text:x=6:y=16:size=13:color=1,1,0.6:font="$font" "$label" \
    -o "$work/$name.png"
}
sheet() {  # sheet OUTPUT TILE...
  local output=$1
  shift
  oiiotool "${@/#/$work/}" --mosaic:pad=2 "$#x1" -o "$images/$output"
}

oiiotool "$input" --resize 240x135 --pattern constant:color=0,0,0,1 240x135 4 --over \
  -o "$work/before.png"
tile after "After: Zoom, Threshold 35"
sheet guide-before-after.png before.png after.png

tile len-300 "Length 300" --param Length=300
tile len-1000 "Length 1000" --param Length=1000
tile len-2000 "Length 2000" --param Length=2000
sheet guide-length.png len-300.png len-1000.png len-2000.png

tile decay-0 "Decay 0" --param Decay=0
tile decay-1 "Decay 1" --param Decay=1
tile decay-2 "Decay 2" --param Decay=2
sheet guide-decay.png decay-0.png decay-1.png decay-2.png

tile exp-1 "Exposure 1" --param Exposure=1
tile exp-3 "Exposure 3" --param Exposure=3
tile exp-5 "Exposure 5" --param Exposure=5
sheet guide-exposure.png exp-1.png exp-3.png exp-5.png

tile thr-0 "Threshold 0" --param Input/Threshold=0
tile thr-35 "Threshold 35" --param Input/Threshold=35
tile thr-70 "Threshold 70" --param Input/Threshold=70
sheet guide-threshold.png thr-0.png thr-35.png thr-70.png

tile q-draft "Quality Draft" --param Quality/Quality=Draft
tile q-moderate "Quality Moderate" --param Quality/Quality=Moderate
tile q-high "Quality High" --param Quality/Quality=High
sheet guide-quality.png q-draft.png q-moderate.png q-high.png

ca=(--param "Chromatic Aberration/Amount=80")
tile ca-rb "Red & Blue" "${ca[@]}" --param "Channels=Red & Blue"
tile ca-rg "Red & Green" "${ca[@]}" --param "Channels=Red & Green"
tile ca-gb "Green & Blue" "${ca[@]}" --param "Channels=Green & Blue"
sheet guide-aberration.png ca-rb.png ca-rg.png ca-gb.png

tile spin "Spin, Amount 25, centre" --param Mode=Spin --param Style/Amount=25 \
  --param Position=240,135
tile zoom-in "Zoom, Direction In" --param Direction=In
tile in-out "Zoom, In & Out" --param "Direction=In & Out"
sheet guide-modes.png spin.png zoom-in.png in-out.png
echo "guide pictures in $images/"
