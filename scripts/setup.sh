#!/usr/bin/env bash
# Installs the Debian packages the project needs: the one place any script installs them.
# Safe to run again: what is already there is skipped. Needs root (CI runs as root).
#   scripts/setup.sh            the build, the tests and the tools
#   scripts/setup.sh --fuzz     clang and its libFuzzer runtime (scripts/fuzz.sh)
#   scripts/setup.sh --windows  the MinGW-w64 cross build (scripts/build-windows.sh)
#   scripts/setup.sh --wine     Wine on a virtual X server (the Windows checks)
#   scripts/setup.sh --bench    the benchmark report's plots (scripts/bench.sh)
#   scripts/setup.sh --images   the guide's picture captions (scripts/make-guide-images.sh)
#   scripts/setup.sh --editors  Kdenlive and Shotcut on a virtual X server (scripts/check-kdenlive.sh, check-shotcut.sh)
#   scripts/setup.sh --mlt-openfx  what building MLT with its OpenFX module needs (scripts/build-melt-openfx.sh)
#   scripts/setup.sh --natron   what building NatronRenderer and openfx-io's OIIO reader and writer needs (scripts/build-natron.sh)
set -euo pipefail

case "${1:-}" in
  "")
    packages=(
      build-essential cmake pkg-config binutils git
      googletest libgtest-dev libgmock-dev libbenchmark-dev
      libegl-dev libgl-dev libegl-mesa0 libgl1-mesa-dri
      libopenimageio-dev openimageio-tools libcli11-dev nlohmann-json3-dev
      g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
      frei0r-plugins-dev ffmpeg melt
      kdenlive-data qtdeclarative5-dev-tools
      gstreamer1.0-tools gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
      slurm-wlm munge
    ) ;;
  --fuzz) packages=(clang libclang-rt-14-dev) ;;
  --windows)
    packages=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 dpkg-dev libstb-dev
              libcli11-dev nlohmann-json3-dev cmake) ;;
  --wine) packages=(wine wine64 xvfb xauth libgl1-mesa-dri libglx-mesa0 openimageio-tools) ;;
  --bench) packages=(gnuplot-nox) ;;
  --images) packages=(fonts-dejavu-core) ;;
  --editors) packages=(kdenlive shotcut xvfb xauth xdotool imagemagick x11-apps
                       libgl1-mesa-dri libglx-mesa0 openimageio-tools) ;;
  --mlt-openfx) packages=(build-essential cmake pkg-config libglib2.0-dev libxml2-dev
                          libavformat-dev libavcodec-dev libavutil-dev libavfilter-dev
                          libswscale-dev libswresample-dev) ;;
  --natron) packages=(build-essential cmake pkg-config git ccache patch
                      qtbase5-dev qtdeclarative5-dev python3-dev
                      libshiboken2-dev libpyside2-dev shiboken2 python3-pyside2.qtcore
                      python3-pyside2.qtgui python3-pyside2.qtwidgets
                      libboost-dev libboost-serialization-dev libboost-system-dev
                      libexpat1-dev libcairo2-dev libfontconfig-dev libx11-dev extra-cmake-modules
                      libgoogle-glog-dev libceres-dev
                      libopenimageio-dev openimageio-tools libopenexr-dev python3-openimageio python3-numpy
                      libgl-dev libglu1-mesa-dev) ;;
  *) echo "setup: unknown option '$1' (see the top of $0)" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "setup: installing ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
