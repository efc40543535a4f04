#!/usr/bin/env bash
# Drives Debian's Shotcut on a virtual X server as a user would: opens IMAGE, adds
# "Brindel's Solvane" from the filter list (search "solvane"), screenshots the panel, saves
# the project, exports it as QuickTime Animation (lossless RGBA), drags Position's handle on
# the video and checks the saved Position, and checks the export against solvane-render
# --depth 8 (scripts/check-editor-render.sh).
#   scripts/check-shotcut.sh IMAGE OUT_DIR
# IMAGE should be opaque and 16:9 (Shotcut's automatic profile scales it to 1920x1080);
# an image with partly transparent pixels differs after the export, filter or not, because
# MLT's conversion to the encoder's ARGB changes those pixels. Shotcut reads panels only
# beside its own program, so a private copy of its program and share/ tree is made in
# OUT_DIR with the built panel linked in; /usr is left alone. The clicks are at the places
# of Shotcut 22.12's default layout on a 1600x1000 screen. Needs scripts/setup.sh --editors
# and a build (SOLVANE_BUILD, default build/default).
set -euo pipefail
[ $# -eq 2 ] || { sed -n 2,14p "$0" >&2; exit 2; }
image=$(realpath "$1")
mkdir -p "$2"
out=$(realpath "$2")
cd "$(dirname "$0")/.."
repo=$PWD
build=$repo/${SOLVANE_BUILD:-build/default}
panel=$build/share/shotcut/qml/filters/solvane
[ -f "$panel/ui.qml" ] || { echo "no panel at $panel: build first" >&2; exit 1; }

tree=$out/shotcut-tree
rm -rf "$tree" "$out/appdata"
mkdir -p "$tree/bin" "$tree/share/shotcut/qml/filters" "$out/appdata"
cp /usr/bin/shotcut "$tree/bin/"
# Shotcut runs melt-7 and ffmpeg from its own folder for exports.
for tool in melt melt-7 ffmpeg ffprobe; do ln -s "/usr/bin/$tool" "$tree/bin/$tool"; done
for f in /usr/share/shotcut/*; do [ "${f##*/}" = qml ] || ln -s "$f" "$tree/share/shotcut/"; done
for f in /usr/share/shotcut/qml/*; do
  [ "${f##*/}" = filters ] || ln -s "$f" "$tree/share/shotcut/qml/"
done
for f in /usr/share/shotcut/qml/filters/*; do ln -s "$f" "$tree/share/shotcut/qml/filters/"; done
ln -s "$panel" "$tree/share/shotcut/qml/filters/solvane"
cp "$image" "$out/clip.png"

display=:$((60 + RANDOM % 30))
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY=$display
FREI0R_PATH="$build/frei0r-1:/usr/lib/frei0r-1" "$tree/bin/shotcut" --noupgrade \
  --appdata "$out/appdata" "$out/clip.png" >"$out/shotcut.log" 2>&1 &
shotcut=$!
trap 'kill $shotcut 2>/dev/null; sleep 2; kill -9 $shotcut 2>/dev/null; kill $xvfb 2>/dev/null' EXIT

shot() { import -window root "$out/$1.png"; }
click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-3}"; }
sleep 25
grep -q 'added filter "Brindel'"'"'s Solvane"' "$out/shotcut.log" ||
  { echo "Shotcut did not load the panel's metadata (see $out/shotcut.log)" >&2; exit 1; }
for w in $(xdotool search --onlyvisible --name Shotcut); do
  xdotool windowsize "$w" 1600 1000 windowmove "$w" 0 0
done
sleep 2
click 795 52             # Filters
click 21 289             # + (add a filter)
xdotool type --delay 80 solvane
sleep 3
shot list
click 113 206 12         # the first match: Brindel's Solvane
shot panel
convert "$out/panel.png" -crop 1290x690+0+0 +repage "$out/panel-crop.png"

xdotool key ctrl+s; sleep 3
xdotool key ctrl+a; xdotool type --delay 40 "$out/project.mlt"; xdotool key Return; sleep 4
[ -f "$out/project.mlt" ] || { echo "the project was not saved" >&2; exit 1; }

click 1071 52            # Export
click 131 477 2          # alpha > Quicktime Animation
click 301 683            # Export File
xdotool key ctrl+a; xdotool type --delay 40 "$out/export.mov"; xdotool key Return
for _ in $(seq 240); do
  grep -q 'job succeeeded\|job succeeded\|job failed' "$out/shotcut.log" && break
  sleep 5
done
shot exported
grep -q 'job succeee\?ded' "$out/shotcut.log" || { echo "the export failed" >&2; exit 1; }
cp "$out/project.mlt" "$out/project-defaults.mlt"

# Position's handle sits at the rays' centre, the middle of the video (943,354 in this
# layout, the video 650x366 from 618,171): drag it in ten steps towards a quarter of the
# frame across and down and save again. Qt starts the drag on the first motion, so the
# handle lags the pointer by about a step: Position ends near 0.27, not 0.25.
xdotool mousemove 943 354; sleep 1; xdotool mousedown 1; sleep 0.5
for step in 1 2 3 4 5 6 7 8 9 10; do
  xdotool mousemove $((943 - 163 * step / 10)) $((354 - 92 * step / 10)); sleep 0.3
done
xdotool mouseup 1; sleep 3
click 795 52             # Filters: the panel with Position's sliders beside the video
shot dragged
xdotool key ctrl+s; sleep 4
position() { grep -o "<property name=\"Position $1\">[^<]*" "$out/project.mlt" | sed 's/.*>//'; }
echo "Position after dragging its handle: $(position X), $(position Y) (the pointer: 0.25, 0.25)"
awk -v x="$(position X)" -v y="$(position Y)" \
  'BEGIN { exit !(x > 0.23 && x < 0.3 && y > 0.23 && y < 0.3) }' ||
  { echo "dragging Position's handle did not move Position to about 0.25, 0.25" >&2; exit 1; }

echo "saved filter:"
grep -A30 'frei0r.solvane' "$out/project-defaults.mlt" | grep -o '<property name="[^"]*">[^<]*' |
  sed 's/<property name="/  /; s/">/ = /'
"$repo/scripts/check-editor-render.sh" "$out/project-defaults.mlt" "$out/export.mov" "0 1 50 99"
