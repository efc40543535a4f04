# The checks of a Windows module under Wine, shared by scripts/test-windows.sh and
# scripts/check-sdk.sh; sourced, not run. Set before sourcing:
#   checks_name   the calling script's name, for messages
#   exe           the Windows solvane-render.exe
#   linux         the Linux solvane-render (the reference outputs)
#   out           a scratch folder, emptied here
#   module        the Windows module to load, empty for the one next to exe
# and call run_windows_checks inside a virtual X server.

section() { printf -- '-- %s (%s)\n' "$1" "$(date +%T)"; }
fail() { echo "$checks_name: FAILED: $*" >&2; exit 1; }

# under_x SCRIPT ARGS...: runs SCRIPT --under-x ARGS... on a virtual X server.
under_x() {
  local script=$1
  shift
  xvfb-run -a -s "-screen 0 640x480x24" "$script" --under-x "$@"
}

# install_wine_tools: what the checks need beyond the build.
install_wine_tools() {
  scripts/setup.sh --wine
}

# Every Windows program gets a time limit, so a dialog or a hung driver fails the run.
win_any() { timeout 120 wine "$exe" "$@"; }
win() { win_any "${module_args[@]}" "$@"; }

# Renders of the same input and controls on Linux and under Wine must agree pixel for
# pixel. Both run Mesa's llvmpipe (EGL on Linux, WGL on GLX under Wine), so they normally
# agree exactly; the tolerance is one 8-bit code value, for rounding in the two compilers'
# float code. Two code values apart fails.
tolerance=0.004

# compare NAME ARGS...: renders input.png with ARGS on both systems, then compares.
compare() {
  local name=$1
  shift
  "$linux" "$@" "$out/input.png" "$out/$name-linux.png" ||
    fail "$name: the Linux render exited $?"
  win "$@" "$(winepath -w "$out/input.png")" "$(winepath -w "$out/$name-windows.png")" \
    >"$out/$name-windows.log" 2>&1 || fail "$name: the Windows render exited $?: $(cat "$out/$name-windows.log")"
  idiff -warn "$tolerance" -fail "$tolerance" "$out/$name-linux.png" "$out/$name-windows.png" ||
    fail "$name: Windows and Linux renders differ by more than $tolerance"
}

# check_contexts TRACE MIN: from Wine's WGL trace, every core context is deleted on the
# thread that created it, no render thread creates two, and at least MIN threads made one.
# The main thread makes two: solvane-render's own short-lived context that asks the GPU's
# texture limits before any input is decoded, then the effect's global one.
check_contexts() {
  awk -v min="$2" '
    function tid(field) { split(field, parts, ":"); return parts[1] }
    /X11DRV_wglCreateContextAttribsARB 0x[0-9a-f]+ -> 0x/ {
      owner[$NF] = tid($1); made[tid($1)]++
      if (main == "") main = tid($1)
    }
    /glxdrv_wglDeleteContext \(/ {
      ctx = $NF; gsub(/[()]/, "", ctx)
      if (ctx in owner) {
        if (owner[ctx] != tid($1)) bad = bad " context " ctx " deleted on another thread;"
        delete owner[ctx]
      }
    }
    END {
      for (c in owner) bad = bad " context " c " never deleted;"
      for (t in made) {
        threads++
        if (made[t] > (t == main ? 2 : 1)) bad = bad " thread " t " made " made[t] ";"
      }
      if (threads < min) bad = bad " only " threads + 0 " threads made a context;"
      if (bad != "") { print "contexts:" bad; exit 1 }
      print threads " threads made their contexts and deleted them on exit"
    }' "$1"
}

run_windows_checks() {
  export WINEPREFIX="$PWD/build/wine-prefix" WINEARCH=win64 WINEDEBUG=-all
  # No Mono or Gecko installer dialogs in a new prefix (nothing here needs them), and no
  # debugger on a crash: the program just fails.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  module_args=()
  [ -z "$module" ] || module_args=(--module "$(winepath -w "$module")")
  rm -rf "$out"
  mkdir -p "$out"

  section "--info"
  win --info | tr -d '\r' >"$out/info-windows.txt" || fail "solvane-render.exe --info exited $?"
  "$linux" --info >"$out/info-linux.txt"
  diff -u "$out/info-linux.txt" "$out/info-windows.txt" || fail "--info differs from Linux"
  grep -q "Simulates volumetric lighting and radial blurs (zoom & spin)." "$out/info-windows.txt" ||
    fail "--info shows no About text"
  cat "$out/info-windows.txt"

  section "a file that is not an effect module"
  if win_any --module "$(winepath -w "$exe")" --info >/dev/null 2>"$out/not-module.txt"; then
    fail "loading the program itself as a module succeeded"
  fi
  grep -q "PE module has no" "$out/not-module.txt" || fail "unclear error: $(cat "$out/not-module.txt")"

  oiiotool --create 160x120 4 --fill:color=0.02,0.02,0.05,1 0,0,160,120 \
    --fill:color=1,0.9,0.6,1 60,40,90,70 --fill:color=0.9,1,1,1 20,80,35,95 \
    --fill:color=1,0.2,0.1,0.5 120,10,150,30 -d uint8 -o "$out/input.png"

  section "zoom render"
  compare zoom --param Mode=Zoom --param Position=60,50
  section "zoom render with float worlds"
  compare zoom-float --depth 32 --param Mode=Zoom --param Direction=In
  section "spin render with chromatic aberration"
  compare spin-ca --param Mode=Spin --param "Chromatic Aberration/Amount=60" --param "Style/Amount=45" \
    --param "Buffer Expansion=12"

  section "threaded sequence: 8 frames on 4 render threads, one context per thread"
  local seq_args=(--frames 1-8 --threads 4 --param Mode=Spin --param Quality/Quality=Custom
    --param Samples=32 --param Noise=0 --key Position@1=20,20 --key Position@8=140,100)
  "$linux" --quiet "${seq_args[@]}" "$out/input.png" "$out/seq-linux-####.png" ||
    fail "threaded sequence: the Linux render exited $?"
  WINEDEBUG=-all,trace+wgl win --quiet "${seq_args[@]}" "$(winepath -w "$out/input.png")" \
    "$(winepath -w "$out")\\seq-windows-####.png" >"$out/threads-windows.log" 2>&1 ||
    fail "threaded sequence: the Windows render exited $?"
  local n
  for n in 1 2 3 4 5 6 7 8; do
    idiff -warn "$tolerance" -fail "$tolerance" "$out/seq-linux-000$n.png" \
      "$out/seq-windows-000$n.png" >/dev/null || fail "threaded sequence: frame $n differs"
  done
  # The global context of set-up, and at least two of the four render threads.
  check_contexts "$out/threads-windows.log" 3 || fail "threaded sequence: contexts not one per thread"
}
