#!/usr/bin/env bash
# Drives Debian's Kdenlive on a virtual X server as a user would: imports IMAGE, puts it on
# the timeline, adds "Solvane" from the effect list (search "Solvane"), screenshots the
# effect stack, saves the project, renders it as a PNG sequence and checks the render
# against solvane-render --depth 8 (scripts/check-editor-render.sh).
#   scripts/check-kdenlive.sh IMAGE OUT_DIR
# IMAGE should be opaque. The built description is given to Kdenlive through a private
# XDG_DATA_HOME in OUT_DIR (nothing is installed); the clicks are at the places of Kdenlive
# 22.12's default layout on a 1600x1000 screen. Needs scripts/setup.sh --editors, dbus and
# a build (SOLVANE_BUILD, default build/default).
set -euo pipefail
[ $# -eq 2 ] || { sed -n 2,10p "$0" >&2; exit 2; }
image=$(realpath "$1")
mkdir -p "$2"
out=$(realpath "$2")
cd "$(dirname "$0")/.."
repo=$PWD
build=$repo/${SOLVANE_BUILD:-build/default}
description=$build/share/kdenlive/effects/frei0r_solvane.xml
[ -f "$description" ] || { echo "no description at $description: build first" >&2; exit 1; }

rm -rf "$out/xdg-data" "$out/xdg-config" "$out/run" "$out"/render_*.png
mkdir -p "$out/xdg-data/kdenlive/effects" "$out/xdg-config" "$out/run"
chmod 700 "$out/run"
cp "$description" "$out/xdg-data/kdenlive/effects/"
cp "$image" "$out/clip.png"

display=:$((60 + RANDOM % 30))
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY=$display
XDG_DATA_HOME=$out/xdg-data XDG_CONFIG_HOME=$out/xdg-config XDG_RUNTIME_DIR=$out/run \
  FREI0R_PATH="$build/frei0r-1:/usr/lib/frei0r-1" \
  dbus-run-session -- kdenlive -i "$out/clip.png" >"$out/kdenlive.log" 2>&1 &
kdenlive=$!
trap 'pkill -P $kdenlive 2>/dev/null; kill $kdenlive 2>/dev/null; sleep 2; kill $xvfb 2>/dev/null' EXIT

shot() { import -window root "$out/$1.png"; }
click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-3}"; }
drag() {
  xdotool mousemove "$1" "$2"; sleep 0.5; xdotool mousedown 1; sleep 0.3
  for step in 1 2 3 4 5 6; do
    xdotool mousemove $(($1 + ($3 - $1) * step / 6)) $(($2 + ($4 - $2) * step / 6)); sleep 0.4
  done
  sleep 0.5; xdotool mouseup 1; sleep 4
}
sleep 50
click 737 404            # "Create and switch to new profile": Continue
drag 60 110 185 703      # the bin clip onto track V1
click 195 466            # the Effects tab
click 207 76 1           # its search field
xdotool type --delay 80 Solvane; sleep 3
shot list
drag 84 117 203 705      # Misc > Solvane onto the clip
click 185 690 2          # select the clip
click 1094 784 6         # the Effect/Composition stack
xdotool windowsize "$(xdotool search --onlyvisible --class kdenlive | tail -1)" 1600 1000; sleep 4
shot stack-top
xdotool mousemove 1250 600 click 5 click 5 click 5 click 5 click 5; sleep 2
shot stack-numbers
convert "$out/stack-top.png" -crop 395x440+1205+495 +repage "$out/top.png"
convert "$out/stack-numbers.png" -crop 395x480+1205+495 +repage "$out/numbers.png"
convert "$out/top.png" "$out/numbers.png" -background '#232629' +append +repage "$out/stack.png"

xdotool key ctrl+s; sleep 3
xdotool type --delay 40 "$out/project.kdenlive"; xdotool key Return; sleep 5
[ -f "$out/project.kdenlive" ] || { echo "the project was not saved" >&2; exit 1; }

click 153 10 2           # Project
click 185 288 6          # Render...
click 596 297 2          # Images sequence
click 644 383 2          # PNG
click 824 176 1          # Output file
xdotool key ctrl+a; xdotool type --delay 30 "$out/render_%05d.png"; sleep 1
click 623 771 1          # Render to File
for _ in $(seq 60); do
  [ -f "$out/render_00125.png" ] && break
  sleep 5
done
sleep 3
shot rendered
ls "$out"/render_*.png >/dev/null 2>&1 || { echo "Kdenlive rendered nothing" >&2; exit 1; }

echo "saved effect:"
grep -A30 '"mlt_service">frei0r.solvane' "$out/project.kdenlive" |
  grep -o '<property name="[^"]*">[^<]*' | sed 's/<property name="/  /; s/">/ = /'
"$repo/scripts/check-editor-render.sh" "$out/project.kdenlive" "$out/render_%05d.png" "0 1 60 124"
