#!/usr/bin/env bash
# Renders docs/images/frei0r-ffmpeg.png: the bundled demo skyline and the same picture
# through ffmpeg -vf frei0r=solvane, side by side, both flattened over black. Run after
# scripts/build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
export FREI0R_PATH="$PWD/build/default/frei0r-1"
input=assets/demo/skyline.png
# Zoom from the moon (355, 62 of 480 x 270) with the guide's threshold and smoothing; every
# other parameter at its default.
params="zoom|0.74|0.23|luma|0.35|0.15|1|0.08333333333333333|1|0.5|out|0|red & blue|moderate"
params+="|0.25|1|y|1|screen|y"
graph="[0:v]format=rgba,split[plain][lit];"
graph+="[lit]frei0r=filter_name=solvane:filter_params=$params[rays];"
graph+="color=black:s=480x270[black1];color=black:s=480x270[black2];"
graph+="[black1][plain]overlay=shortest=1[before];[black2][rays]overlay=shortest=1[after];"
graph+="[before][after]hstack,format=rgb24"
mkdir -p docs/images
ffmpeg -nostdin -v error -y -i "$input" -filter_complex "$graph" -frames:v 1 \
  docs/images/frei0r-ffmpeg.png
echo "docs/images/frei0r-ffmpeg.png"
