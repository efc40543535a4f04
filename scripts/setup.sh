#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tools need. Safe to run
# again: apt-get skips what is already there. Needs root (CI runs as root).
#   scripts/setup.sh          the build, the tests and the tools
#   scripts/setup.sh --fuzz   only clang and its libFuzzer runtime, for scripts/fuzz.sh
set -euo pipefail

packages=(
  build-essential cmake pkg-config binutils git
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libglew-dev libegl-dev libgl-dev libegl-mesa0 libgl1-mesa-dri
  libopenimageio-dev openimageio-tools libcli11-dev nlohmann-json3-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  frei0r-plugins-dev ffmpeg melt
  gstreamer1.0-tools gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  slurm-wlm munge
)

# The fuzz targets need clang and the sanitizer and libFuzzer runtimes, which the other
# builds do not: scripts/fuzz.sh asks for them.
if [ "${1:-}" = --fuzz ]; then
  packages=(clang libclang-rt-14-dev)
fi

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
