#!/usr/bin/env bash
# Builds NatronRenderer, Natron's command-line renderer (no Gui), and openfx-io's OpenImageIO
# reader and writer (ReadOIIO and WriteOIIO only: no FFmpeg, no other plug-ins) so that a
# Natron project can read and write EXR files, and installs them into PREFIX (default
# /tmp/natron): PREFIX/bin/NatronRenderer and PREFIX/Plugins/OFX/Natron/OIIO.ofx.bundle, the
# folder of plug-ins Natron finds beside itself. Debian packages: scripts/setup.sh --natron.
#   scripts/build-natron.sh SRC [PREFIX]
# SRC is a folder with Natron/ (the RB-2.5 branch: CMake and Qt5) and openfx-io/, each with
# its submodules, as scripts/fetch-natron-src.sh assembles it from git copies:
#   scripts/fetch-natron-src.sh MIRRORS /tmp/natron-src && scripts/build-natron.sh /tmp/natron-src
# Natron uses the system's glog, Ceres and Python (/usr/bin/python3, or NATRON_PYTHON).
# scripts/natron-patches/*.patch are applied to SRC/Natron first: Natron's image caches
# destroy their cleaner threads while they may still be running, and NatronRenderer then
# aborts at exit now and then ("QThread: Destroyed while thread is still running").
# The build folder is PREFIX.build; the compiler output goes to PREFIX.build/natron.log and
# PREFIX.build/oiio.log. Builds run under nice -n 15 with JOBS (default 2) jobs and ccache
# where there is one; about half an hour on two cores. The install is staged and then moved
# into place, so a failed build never leaves a half-installed PREFIX. PREFIX may not be /,
# nor under /usr, /bin, /lib, /etc or /opt.
set -euo pipefail
[ $# -ge 1 ] && [ $# -le 2 ] || { sed -n 2,19p "$0" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
src=$(realpath -e "$1" 2>/dev/null) || { echo "build-natron: no source folder at '$1'" >&2; exit 2; }
prefix=$(realpath -m "${2:-/tmp/natron}")
jobs=${JOBS:-2}

fail() { echo "build-natron: $*" >&2; exit 1; }
case "$prefix" in
  / | /usr | /usr/* | /bin | /bin/* | /lib | /lib/* | /etc | /etc/* | /opt | /opt/*)
    echo "build-natron: refusing to install into '$prefix' (use a folder under /tmp)" >&2
    exit 2 ;;
esac
for f in Natron/CMakeLists.txt Natron/Renderer/CMakeLists.txt Natron/libs/OpenFX/include/ofxCore.h \
         Natron/libs/SequenceParsing/SequenceParsing.cpp Natron/libs/SequenceParsing/tinydir/tinydir.h \
         openfx-io/OIIO/ReadOIIO.cpp openfx-io/openfx/Support/Library/ofxsCore.cpp \
         openfx-io/SupportExt/ofxsMacros.h openfx-io/IOSupport/SequenceParsing/tinydir/tinydir.h; do
  [ -f "$src/$f" ] ||
    fail "$src/$f is missing: SRC must hold Natron/ and openfx-io/ with their submodules (scripts/fetch-natron-src.sh)"
done

# The system's Python: PySide2 and Shiboken2 are built against it, and a second libpython
# (a pyenv or virtual environment found first on PATH) would be loaded beside it.
python=${NATRON_PYTHON:-/usr/bin/python3}
"$python" -c 'import PySide2.QtCore' 2>/dev/null ||
  fail "$python cannot import PySide2.QtCore (scripts/setup.sh --natron installs it)"

launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$src}
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

build=$prefix.build
stage=$prefix.stage
mkdir -p "$build" || fail "cannot make $build"

# build_step NAME SOURCE BUILD_DIR TARGET CMAKE_ARGUMENTS...: configure and build one project.
build_step() {
  local name=$1 source=$2 dir=$3 target=$4
  shift 4
  nice -n 15 cmake -S "$source" -B "$dir" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" "$@" \
    >"$build/$name.configure.log" 2>&1 ||
    { tail -30 "$build/$name.configure.log" >&2; fail "configuring $name failed (log: $build/$name.configure.log)"; }
  nice -n 15 cmake --build "$dir" --target "$target" -j"$jobs" >"$build/$name.log" 2>&1 ||
    { grep -m 20 -B 2 -A 8 -E 'error:|Error [0-9]' "$build/$name.log" >&2 || tail -30 "$build/$name.log" >&2
      fail "building $name failed (log: $build/$name.log)"; }
}

# Natron's own faults that the check runs into, patched in SRC (once: a patch already applied
# is left as it is).
for patch in "$here"/natron-patches/*.patch; do
  if patch -d "$src/Natron" -p1 -R --dry-run -s -f <"$patch" >/dev/null 2>&1; then continue; fi
  patch -d "$src/Natron" -p1 -s --forward <"$patch" >"$build/patch.log" 2>&1 ||
    { cat "$build/patch.log" >&2; fail "cannot apply $patch to $src/Natron"; }
done

# Natron: only the renderer and what it links (the Engine, HostSupport, the bundled libs).
build_step natron "$src/Natron" "$build/natron" NatronRenderer \
  -DNATRON_SYSTEM_LIBS=ON -DNATRON_BUILD_TESTS=OFF -DPython3_EXECUTABLE="$python"
# openfx-io's OIIO reader and writer alone, built by a project of our own.
build_step oiio "$here/natron-oiio" "$build/oiio" ReadWriteOIIO -DOPENFX_IO_DIR="$src/openfx-io"

rm -rf "$stage"
mkdir -p "$stage/bin" "$stage/Plugins/OFX/Natron" || fail "cannot make $stage"
cp "$build/natron/Renderer/NatronRenderer" "$stage/bin/" ||
  fail "cannot copy $build/natron/Renderer/NatronRenderer into $stage/bin"
cp -r "$build/oiio/OIIO.ofx.bundle" "$stage/Plugins/OFX/Natron/" ||
  fail "cannot copy $build/oiio/OIIO.ofx.bundle into $stage/Plugins/OFX/Natron"
version="Natron $(sed -n 's/^ *VERSION "\(.*\)"/\1/p' "$src/Natron/CMakeLists.txt" | head -1)"
version+=" ($(cat "$src/Natron/.source-commit" 2>/dev/null || echo 'commit unknown'))"
echo "$version" >"$stage/natron-version" || fail "cannot write $stage/natron-version"
rm -rf "$prefix.old"
[ ! -e "$prefix" ] || mv "$prefix" "$prefix.old"
mv "$stage" "$prefix" || fail "cannot move $stage to $prefix"
rm -rf "$prefix.old"
echo "build-natron: NatronRenderer of $version and OIIO.ofx.bundle in $prefix"
