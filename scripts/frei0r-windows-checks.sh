# The Windows frei0r filter under Wine against the Linux one; sourced by
# scripts/test-windows.sh after scripts/windows-checks.sh, and run on its virtual X server.
# Both filters run from our own host, solvane-frei0r-run (built for each system), on the
# same raw RGBA frames, with the six cases of tests/shells/frei0r/HostRenderTest.cpp; every
# byte must agree within one 8-bit code value.

frei0r_cases=(
  "zoom|Mode=zoom|Position X=0.3|Position Y=0.6|Length=0.5|Threshold=0.2"
  "spin-aberration|Mode=Spin|Spin Amount=0.125|Aberration Amount=0.5|Aberration Channels=red & green|Quality=draft"
  "input-processed|View=input (processed)|Threshold Mode=CHROMA|Threshold=0.4"
  "rays-solo-in-out|View=rays-solo|Direction=In & Out|Unmult=0"
  "add-partial-opacity|Blend Mode=add|Input Opacity=0.6|Exposure=0.4"
  "custom-quality|Decay=0.25|Quality=custom|Samples=0.125|Noise=0.5|Repeat Edges=0"
)

# max_byte_difference A B: the largest difference of one byte between two files of one size.
max_byte_difference() {
  [ "$(stat -c %s "$1")" = "$(stat -c %s "$2")" ] || { echo 256; return; }
  cmp -l "$1" "$2" | awk 'function dec(o,  n, i) { for (i = 1; i <= length(o); i++) n = n * 8 + substr(o, i, 1); return n }
    { d = dec($2) - dec($3); if (d < 0) d = -d; if (d > m) m = d } END { print m + 0 }'
}

run_frei0r_windows_checks() {
  local linux_run=build/default/bin/solvane-frei0r-run linux_dll=build/default/frei0r-1/solvane.so
  local win_run=build/windows/bin/solvane-frei0r-run.exe win_dll=build/windows/frei0r-1/solvane.dll
  local w=160 h=120 entry name settings worst
  section "frei0r filter: the host-test cases, Windows against Linux"
  # The checks' input with a transparent strip at the left, as two frames (the second
  # mirrored), as raw RGBA.
  oiiotool "$out/input.png" --fill:color=0,0,0,0 0,0,12,120 -d uint8 -o "$out/frei0r-in.png"
  ffmpeg -nostdin -v error -y -i "$out/frei0r-in.png" -vf "split[a][b];[b]hflip[c];[a][c]concat=n=2" \
    -f rawvideo -pix_fmt rgba "$out/frei0r-in.rgba" || fail "cannot write the frei0r input"
  for entry in "${frei0r_cases[@]}"; do
    name=${entry%%|*}
    IFS='|' read -r -a settings <<<"${entry#*|}"
    "$linux_run" "$linux_dll" $w $h "$out/frei0r-in.rgba" "$out/frei0r-$name-linux.rgba" \
      "${settings[@]}" || fail "frei0r $name: the Linux filter failed"
    timeout 120 wine "$win_run" "$(winepath -w "$win_dll")" $w $h "$(winepath -w "$out/frei0r-in.rgba")" \
      "$(winepath -w "$out/frei0r-$name-windows.rgba")" "${settings[@]}" \
      >"$out/frei0r-$name.log" 2>&1 || fail "frei0r $name: the Windows filter failed: $(cat "$out/frei0r-$name.log")"
    worst=$(max_byte_difference "$out/frei0r-$name-linux.rgba" "$out/frei0r-$name-windows.rgba")
    [ "$(max_byte_difference "$out/frei0r-in.rgba" "$out/frei0r-$name-linux.rgba")" -gt 16 ] ||
      fail "frei0r $name: the filter left the frames (nearly) unchanged"
    echo "frei0r $name: largest difference $worst"
    [ "$worst" -le 1 ] || fail "frei0r $name: Windows and Linux differ by $worst code values"
  done
}
