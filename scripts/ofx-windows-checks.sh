# The Windows OpenFX plug-in under Wine against the Linux one; sourced by
# scripts/test-windows.sh and run on its virtual X server. Both bundles render through our
# own OpenFX host, solvane-ofx-render (built for each system), on the checks' input with a
# transparent strip, for the six host-test cases of tests/shells/ofx/OfxRenderTest.cpp
# (and Buffer Expansion's larger frame); every pixel must agree within one 8-bit code value.

ofx_cases=(
  "zoom|mode=Zoom|position=48,48|length=1000|threshold=20"
  "spin-aberration|mode=Spin|spinAmount=45|aberrationAmount=50|channels=Red & Green|quality=Draft"
  "input-processed|view=Input (Processed)|thresholdMode=Chroma|threshold=40"
  "rays-solo-in-out|view=Rays Solo|direction=In & Out|unmult=off"
  "add-partial-opacity|blendMode=Add|inputOpacity=60|exposure=2"
  "custom-quality|decay=0.5|quality=Custom|samples=32|noise=50|repeatEdges=off"
  "buffer-expansion|bufferExpansion=12|length=1500"
)

run_ofx_windows_checks() {
  local linux_run=build/default/bin/solvane-ofx-render
  local linux_ofx=build/default/ofx/Solvane.ofx.bundle/Contents/Linux-x86-64/Solvane.ofx
  local win_run=build/windows/bin/solvane-ofx-render.exe
  local win_ofx=build/windows/ofx/Solvane.ofx.bundle/Contents/Win64/Solvane.ofx
  local entry name setting params
  section "OpenFX plug-in: the host-test cases, Windows against Linux"
  oiiotool "$out/input.png" --fill:color=0,0,0,0 0,0,12,120 -d uint8 -o "$out/ofx-in.png"
  for entry in "${ofx_cases[@]}"; do
    name=${entry%%|*}
    params=()
    IFS='|' read -r -a settings <<<"${entry#*|}"
    for setting in "${settings[@]}"; do params+=(--param "$setting"); done
    "$linux_run" "$linux_ofx" "$out/ofx-in.png" "$out/ofx-$name-linux.png" "${params[@]}" ||
      fail "OpenFX $name: the Linux plug-in failed"
    timeout 120 wine "$win_run" "$(winepath -w "$win_ofx")" "$(winepath -w "$out/ofx-in.png")" \
      "$(winepath -w "$out/ofx-$name-windows.png")" "${params[@]}" --threads 2 \
      >"$out/ofx-$name.log" 2>&1 ||
      fail "OpenFX $name: the Windows plug-in failed: $(cat "$out/ofx-$name.log")"
    # Rendered on two threads that end before the plug-in is unloaded on the main thread.
    ! grep -q "Cannot Set OpenGL Context" "$out/ofx-$name.log" ||
      fail "OpenFX $name: the Windows plug-in could not release its OpenGL resources"
    idiff -fail 0.004 -failpercent 0 "$out/ofx-$name-linux.png" "$out/ofx-$name-windows.png" \
      >"$out/ofx-$name-idiff.log" 2>&1 ||
      fail "OpenFX $name: Windows and Linux differ: $(tail -4 "$out/ofx-$name-idiff.log")"
    ! idiff -fail 0.06 -failpercent 0 "$out/ofx-in.png" "$out/ofx-$name-linux.png" >/dev/null 2>&1 ||
      fail "OpenFX $name: the plug-in left the picture (nearly) unchanged"
    echo "OpenFX $name: $(grep -m1 'Max error' "$out/ofx-$name-idiff.log" || echo identical)"
  done
}
