#!/usr/bin/env bash
# Compiles the WGL context backend for Windows with the MinGW-w64 cross compiler, against
# GLEW's headers only, so that no Linux system header can leak into the Windows build.
# Linking is not attempted. Exits non-zero when the translation unit does not compile.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
compiler="${MINGW_CXX:-x86_64-w64-mingw32-g++-posix}"
glew_include="${GLEW_INCLUDE_DIR:-/usr/include}"

if ! command -v "${compiler}" >/dev/null 2>&1; then
  echo "check-wgl-compile: ${compiler} not found (Debian: g++-mingw-w64-x86-64-posix)" >&2
  exit 1
fi
for header in glew.h wglew.h; do
  if [[ ! -f "${glew_include}/GL/${header}" ]]; then
    echo "check-wgl-compile: ${glew_include}/GL/${header} not found (Debian: libglew-dev)" >&2
    exit 1
  fi
done

work="$(mktemp -d)"
trap 'rm -rf "${work}"' EXIT
mkdir -p "${work}/include/GL"
cp "${glew_include}/GL/glew.h" "${glew_include}/GL/wglew.h" "${work}/include/GL/"

"${compiler}" -std=c++20 -Wall -Wextra -Werror -DGLEW_STATIC \
  -I"${work}/include" -I"${root}/src/core/gl" \
  -c "${root}/src/core/gl/WglContext.cpp" -o "${work}/WglContext.obj"
echo "check-wgl-compile: src/core/gl/WglContext.cpp compiles for Windows"
