#!/usr/bin/env bash
# Builds melt from an MLT source tree with only what the OpenFX checks need: the framework,
# the core, xml and avformat modules (PNG in and out) and the openfx module, and installs it
# into PREFIX (default /tmp/mlt-openfx). The tree must carry MLT's vendored OpenFX headers
# (src/modules/openfx/openfx/include). Debian packages: scripts/setup.sh --mlt-openfx.
#   scripts/build-melt-openfx.sh MLT_SOURCE_DIR [PREFIX]
# The build folder is PREFIX.build. The install is staged and then moved into place, so a failed
# build never leaves a half-installed PREFIX. PREFIX may not be /, nor under /usr, /bin, /lib,
# /etc or /opt.
set -euo pipefail
[ $# -ge 1 ] && [ $# -le 2 ] || { sed -n 2,9p "$0" >&2; exit 2; }
src=$(realpath -e "$1" 2>/dev/null) || { echo "build-melt-openfx: no MLT source folder at '$1'" >&2; exit 2; }
prefix=$(realpath -m "${2:-/tmp/mlt-openfx}")

case "$prefix" in
  / | /usr | /usr/* | /bin | /bin/* | /lib | /lib/* | /etc | /etc/* | /opt | /opt/*)
    echo "build-melt-openfx: refusing to install into '$prefix' (use a folder under /tmp)" >&2
    exit 2 ;;
esac
for f in CMakeLists.txt src/modules/openfx/CMakeLists.txt \
         src/modules/openfx/openfx/include/ofxImageEffect.h; do
  [ -f "$src/$f" ] ||
    { echo "build-melt-openfx: $src/$f is missing: not an MLT tree with its OpenFX module" >&2; exit 2; }
done

# Every module switch of this MLT version, off unless the checks need it.
wanted=" MOD_AVFORMAT MOD_XML MOD_OPENFX "
switches=()
for opt in $(sed -n 's/^option(\(\(MOD\|USE\|SWIG\)_[A-Z0-9_]*\) .*/\1/p' "$src/CMakeLists.txt"); do
  case "$wanted" in *" $opt "*) switches+=("-D$opt=ON") ;; *) switches+=("-D$opt=OFF") ;; esac
done

launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-/tmp}
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

mkdir -p "$(dirname "$prefix")"
build=$prefix.build
stage=$prefix.stage
nice -n 15 cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib \
  -DGPL=ON -DGPL3=OFF -DBUILD_TESTING=OFF -DBUILD_DOCS=OFF -DCLANG_FORMAT=OFF \
  "${launcher[@]}" "${switches[@]}" >"$build.configure.log" 2>&1 ||
  { tail -30 "$build.configure.log" >&2; echo "build-melt-openfx: configure failed (log: $build.configure.log)" >&2; exit 1; }
nice -n 15 cmake --build "$build" -j2 >"$build.log" 2>&1 ||
  { tail -30 "$build.log" >&2; echo "build-melt-openfx: build failed (log: $build.log)" >&2; exit 1; }

rm -rf "$stage"
DESTDIR=$stage nice -n 15 cmake --install "$build" >"$build.install.log" 2>&1 ||
  { tail -20 "$build.install.log" >&2; echo "build-melt-openfx: install failed (log: $build.install.log)" >&2; exit 1; }
for f in bin/melt lib/mlt-7/libmltopenfx.so lib/mlt-7/libmltavformat.so lib/mlt-7/libmltxml.so; do
  [ -e "$stage$prefix/$f" ] ||
    { echo "build-melt-openfx: the install lacks $f (see $build.configure.log)" >&2; exit 1; }
done
rm -rf "$prefix.old"
[ ! -e "$prefix" ] || mv "$prefix" "$prefix.old"
mv "$stage$prefix" "$prefix"
rm -rf "$stage" "$prefix.old"
echo "build-melt-openfx: $("$prefix/bin/melt" --version 2>&1 | head -1) with the openfx module in $prefix"
