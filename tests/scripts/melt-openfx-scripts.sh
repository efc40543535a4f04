#!/usr/bin/env bash
# The melt scripts' own edges, without a real melt: the check skips (status 0) where no
# melt with the openfx module is installed, and fails with a reason where melt does not list
# the plug-in. The build refuses system prefixes and folders that are no MLT tree before it
# touches anything.
#   melt-openfx-scripts.sh REPO BUILD_DIR skips|unlisted|refusals
set -euo pipefail
repo=$1 build=$2 group=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
check=$repo/scripts/check-ofx-melt.sh
make=$repo/scripts/build-melt-openfx.sh
# shellcheck source=tests/scripts/script-test-support.sh
source "$(dirname "$0")/script-test-support.sh"

# A prefix with a melt that lists only other filters, with or without the openfx module.
fake_prefix() {
  mkdir -p "$1/bin"
  printf '#!/bin/sh\nprintf -- "---\\nfilters:\\n  - brightness\\n"\n' >"$1/bin/melt"
  chmod +x "$1/bin/melt"
  if [ "$2" = with-openfx ]; then
    mkdir -p "$1/lib/mlt-7" && : >"$1/lib/mlt-7/libmltopenfx.so"
  fi
}

case $group in
  skips)
    expect 0 '^skipped: no melt at' "$check" "$tmp/none"
    fake_prefix "$tmp/plain" without-openfx
    expect 0 '^skipped: .* has no openfx module' "$check" "$tmp/plain"
    ;;
  unlisted)
    fake_prefix "$tmp/melt" with-openfx
    mkdir -p "$tmp/bundles/Solvane.ofx.bundle"
    expect 1 'no Solvane.ofx.bundle in' "$check" "$tmp/melt" "$tmp/empty"
    SOLVANE_BUILD=$build OUT_DIR=$tmp/out expect 1 'does not list openfx.com.brindel.solvane' \
      "$check" "$tmp/melt" "$tmp/bundles"
    ;;
  refusals)
    for prefix in / /usr /usr/local /opt/mlt; do
      expect 2 "refusing to install into '$prefix'" "$make" "$repo" "$prefix"
    done
    expect 2 'no MLT source folder' "$make" "$tmp/none"
    expect 2 'not an MLT tree with its OpenFX module' "$make" "$tmp" "$tmp/prefix"
    [ ! -e "$tmp/prefix" ] && [ ! -e "$tmp/prefix.build" ] || bad "a refused build left files"
    ;;
  *) bad "unknown group $group" ;;
esac
echo "melt-openfx-scripts $group: passed"
