#!/usr/bin/env bash
# Cross-builds the Windows module (build/windows/bin/Brindel's_Solvane.aex), the Windows
# solvane-render.exe, the stand-in host, the frei0r filter and the OpenFX bundle
# (build/windows/ofx/Solvane.ofx.bundle, its binary in Contents/Win64) with MinGW-w64.
# Installs what is missing, fetches GLEW's Debian source package once (build/glew-src)
# and builds the registration resource encoder for this machine first.
set -euo pipefail
cd "$(dirname "$0")/.."

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
apt_updated=0
apt_update() { [ "$apt_updated" = 1 ] || { $SUDO apt-get update -qq; apt_updated=1; }; }

scripts/setup.sh --windows

# GLEW is compiled from Debian's source package by our CMake (cmake/GlewStatic.cmake).
glew_dir=build/glew-src
if ! ls "$glew_dir"/glew-*/src/glew.c >/dev/null 2>&1; then
  sources=/etc/apt/sources.list.d/debian.sources
  if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    if [ ! -f "$sources" ]; then
      echo "build-windows: no source packages enabled and no $sources to enable them in" >&2
      exit 1
    fi
    echo "build-windows: enabling source packages in $sources"
    $SUDO sed -i '0,/^Types: deb$/s//Types: deb deb-src/' "$sources"
    apt_updated=0
  fi
  apt_update
  mkdir -p "$glew_dir"
  (cd "$glew_dir" && apt-get source -qq glew)
fi

# The cross build runs the encoder built for this machine.
encoder=build/default/src/shells/ae/resources/solvane-pipl-encode
if [ ! -x "$encoder" ]; then
  [ -f build/default/CMakeCache.txt ] || cmake --preset default >/dev/null
  cmake --build build/default --target solvane_pipl_encode -j"$(nproc)"
fi

cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)"
