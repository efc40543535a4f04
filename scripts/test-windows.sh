#!/usr/bin/env bash
# Proves the Windows module in a Windows process. Installs what is missing, cross-builds
# (scripts/build-windows.sh), checks the module as a PE file, then runs solvane-render.exe
# under Wine on a virtual X server, where WGL renders on Mesa's llvmpipe, and compares its
# output with the Linux build's.
set -euo pipefail
cd "$(dirname "$0")/.."

section() { printf -- '-- %s (%s)\n' "$1" "$(date +%T)"; }
fail() { echo "test-windows: FAILED: $*" >&2; exit 1; }

if [ "${1:-}" != --under-x ]; then
  started=$SECONDS
  need=()
  for p in wine wine64 xvfb xauth libgl1-mesa-dri libglx-mesa0 openimageio-tools; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
  done
  if [ ${#need[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    echo "test-windows: installing ${need[*]}"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
  fi

  section "cross build"
  scripts/build-windows.sh
  section "Linux build (the reference outputs, and the PE checks)"
  scripts/build.sh default  # configures again, which registers the PE checks
  ctest --test-dir build/default -R '^WindowsModule\.' --no-tests=error --output-on-failure

  section "under Wine"
  xvfb-run -a -s "-screen 0 640x480x24" "$0" --under-x
  echo "test-windows: all checks passed in $((SECONDS - started)) s"
  exit 0
fi

# --- From here on: inside the virtual X server. ---
export WINEPREFIX="$PWD/build/wine-prefix" WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installer dialogs in a new prefix (nothing here needs them), and no
# debugger on a crash: the program just fails.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

exe=build/windows/bin/solvane-render.exe
linux=build/default/bin/solvane-render
out=build/windows-test
rm -rf "$out"
mkdir -p "$out"

# Every Windows program gets a time limit, so a dialog or a hung driver fails the run.
win() { timeout 120 wine "$exe" "$@"; }

section "--info"
win --info | tr -d '\r' >"$out/info-windows.txt" || fail "solvane-render.exe --info exited $?"
"$linux" --info >"$out/info-linux.txt"
diff -u "$out/info-linux.txt" "$out/info-windows.txt" || fail "--info differs from Linux"
grep -q "Simulates volumetric lighting and radial blurs (zoom & spin)." "$out/info-windows.txt" ||
  fail "--info shows no About text"
cat "$out/info-windows.txt"

section "a file that is not an effect module"
if win --module "$(winepath -w "$exe")" --info >/dev/null 2>"$out/not-module.txt"; then
  fail "loading the program itself as a module succeeded"
fi
grep -q "PE module has no" "$out/not-module.txt" || fail "unclear error: $(cat "$out/not-module.txt")"

# Renders of the same input and controls on Linux and under Wine must agree pixel for
# pixel. Both run Mesa's llvmpipe (EGL on Linux, WGL on GLX under Wine), so they normally
# agree exactly; the tolerance is one 8-bit code value, for rounding in the two compilers'
# float code. Two code values apart fails.
tolerance=0.004
oiiotool --create 160x120 4 --fill:color=0.02,0.02,0.05,1 0,0,160,120 \
  --fill:color=1,0.9,0.6,1 60,40,90,70 --fill:color=0.9,1,1,1 20,80,35,95 \
  --fill:color=1,0.2,0.1,0.5 120,10,150,30 -d uint8 -o "$out/input.png"

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

section "zoom render"
compare zoom --param Mode=Zoom --param Position=60,50
section "zoom render with float worlds"
compare zoom-float --depth 32 --param Mode=Zoom --param Direction=In
section "spin render with chromatic aberration"
compare spin-ca --param Mode=Spin --param "Chromatic Aberration/Amount=60" --param "Style/Amount=45" \
  --param "Buffer Expansion=12"

# check_contexts TRACE MIN: from Wine's WGL trace, every core context is deleted on the
# thread that created it, no thread creates two, and at least MIN threads made one.
check_contexts() {
  awk -v min="$2" '
    function tid(field) { split(field, parts, ":"); return parts[1] }
    /X11DRV_wglCreateContextAttribsARB 0x[0-9a-f]+ -> 0x/ {
      owner[$NF] = tid($1); made[tid($1)]++
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
      for (t in made) { threads++; if (made[t] > 1) bad = bad " thread " t " made " made[t] ";" }
      if (threads < min) bad = bad " only " threads + 0 " threads made a context;"
      if (bad != "") { print "contexts:" bad; exit 1 }
      print threads " threads made one context each and deleted it on exit"
    }' "$1"
}

section "threaded sequence: 8 frames on 4 render threads, one context per thread"
seq_args=(--frames 1-8 --threads 4 --param Mode=Spin --param Quality/Quality=Custom
  --param Samples=32 --param Noise=0 --key Position@1=20,20 --key Position@8=140,100)
"$linux" --quiet "${seq_args[@]}" "$out/input.png" "$out/seq-linux-####.png" ||
  fail "threaded sequence: the Linux render exited $?"
WINEDEBUG=-all,trace+wgl win --quiet "${seq_args[@]}" "$(winepath -w "$out/input.png")" \
  "$(winepath -w "$out")\\seq-windows-####.png" >"$out/threads-windows.log" 2>&1 ||
  fail "threaded sequence: the Windows render exited $?"
for n in 1 2 3 4 5 6 7 8; do
  idiff -warn "$tolerance" -fail "$tolerance" "$out/seq-linux-000$n.png" \
    "$out/seq-windows-000$n.png" >/dev/null || fail "threaded sequence: frame $n differs"
done
# The global context of set-up, and at least two of the four render threads.
check_contexts "$out/threads-windows.log" 3 || fail "threaded sequence: contexts not one per thread"
