#!/usr/bin/env bash
# The Natron scripts' own edges, without a real Natron: the check skips (status 0) where no
# NatronRenderer is installed and fails with a reason where the bundle or the EXR reader and
# writer are missing or another Solvane could be loaded; the build refuses system prefixes
# and folders that are no Natron tree before it touches anything; the source assembly puts
# each submodule at the commit its superproject names, falls back to the newest commit where
# the copy lacks it, and leaves out files whose contents the copy lacks.
#   natron-scripts.sh REPO BUILD_DIR skips|refusals|sources
set -euo pipefail
repo=$1 build=$2 group=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
check=$repo/scripts/check-ofx-natron.sh
make=$repo/scripts/build-natron.sh
fetch=$repo/scripts/fetch-natron-src.sh
# shellcheck source=tests/scripts/script-test-support.sh
source "$(dirname "$0")/script-test-support.sh"

# A prefix with a NatronRenderer that must never be run by these cases.
fake_prefix() {
  mkdir -p "$1/bin"
  printf '#!/bin/sh\necho "fake NatronRenderer ran" >&2\nexit 99\n' >"$1/bin/NatronRenderer"
  chmod +x "$1/bin/NatronRenderer"
}

# commit_repo DIR [PATH=SHA...]: a new repository in DIR with a file and the gitlinks given;
# prints its commit.
commit_repo() {
  local dir=$1 link
  shift
  git init -q "$dir"
  echo "$(basename "$dir")" >"$dir/README"
  git -C "$dir" add README
  for link in "$@"; do
    git -C "$dir" update-index --add --cacheinfo "160000,${link#*=},${link%%=*}"
  done
  git -C "$dir" -c user.name=t -c user.email=t@t commit -q -m "$(basename "$dir")"
  git -C "$dir" rev-parse HEAD
}

case $group in
  skips)
    expect 0 '^skipped: no NatronRenderer at' "$check" "$tmp/none"
    fake_prefix "$tmp/natron"
    expect 1 'no Solvane.ofx.bundle in' "$check" "$tmp/natron" "$tmp/empty"
    mkdir -p "$tmp/bundles/Solvane.ofx.bundle"
    SOLVANE_BUILD=$build expect 1 'no OIIO.ofx.bundle in' "$check" "$tmp/natron" "$tmp/bundles"
    mkdir -p "$tmp/natron/Plugins/OFX/Natron/OIIO.ofx.bundle" "$tmp/natron/Plugins/OFX/Natron/Solvane.ofx.bundle"
    SOLVANE_BUILD=$build expect 1 'Solvane.ofx.bundle could be loaded instead of' \
      "$check" "$tmp/natron" "$tmp/bundles"
    ;;
  refusals)
    for prefix in / /usr /usr/local /opt/natron; do
      expect 2 "refusing to install into '$prefix'" "$make" "$repo" "$prefix"
    done
    expect 2 'no source folder' "$make" "$tmp/none"
    expect 1 'Natron/CMakeLists.txt is missing' "$make" "$tmp" "$tmp/prefix"
    [ ! -e "$tmp/prefix" ] && [ ! -e "$tmp/prefix.build" ] || bad "a refused build left files"
    expect 2 "no folder '$tmp/none'" "$fetch" "$tmp/none" "$tmp/src"
    ;;
  sources)
    m=$tmp/mirrors
    tinydir=$(commit_repo "$m/tinydir")
    sp=$(commit_repo "$m/SequenceParsing" "tinydir=$tinydir")
    ofx=$(commit_repo "$m/openfx")
    echo second >"$m/openfx/NEWER" && git -C "$m/openfx" add NEWER &&
      git -C "$m/openfx" -c user.name=t -c user.email=t@t commit -q -m newer
    supportext=$(commit_repo "$m/openfx-supportext")
    # Natron names an openfx commit the copy has (not its newest) and a SequenceParsing
    # commit it lacks; openfx-io names the same SequenceParsing commit the copy has.
    missing=0123456789012345678901234567890123456789
    commit_repo "$m/Natron" "libs/OpenFX=$ofx" "libs/SequenceParsing=$missing" >/dev/null
    git -C "$m/Natron" branch -q RB-2.5
    commit_repo "$m/openfx-io" "openfx=$ofx" "SupportExt=$supportext" \
      "IOSupport/SequenceParsing=$sp" >/dev/null
    # A file whose contents the copy of openfx-io lacks, as in a partial copy.
    blob=$(git -C "$m/openfx-io" rev-parse HEAD:README)
    rm -f "$m/openfx-io/.git/objects/${blob:0:2}/${blob:2}"
    expect 0 "SequenceParsing lacks $missing; using its newest commit $sp" "$fetch" "$m" "$tmp/src"
    grep -q "openfx-io's copy lacks 1 files (README); left out" "$tmp/output" ||
      bad "the missing file was not named: $(cat "$tmp/output")"
    [ "$(cat "$tmp/src/Natron/libs/OpenFX/.source-commit")" = "$ofx" ] && [ ! -e "$tmp/src/Natron/libs/OpenFX/NEWER" ] ||
      bad "openfx is not at the commit Natron names"
    [ -f "$tmp/src/Natron/libs/SequenceParsing/tinydir/README" ] &&
      [ -f "$tmp/src/openfx-io/IOSupport/SequenceParsing/tinydir/README" ] &&
      [ -f "$tmp/src/openfx-io/SupportExt/README" ] && [ ! -e "$tmp/src/openfx-io/README" ] ||
      bad "the tree is not as assembled: $(cd "$tmp/src" && find . -name README)"
    [ ! -e "$tmp/src.part" ] || bad "the staging folder was left behind"
    ;;
  *) bad "unknown group $group" ;;
esac
echo "natron-scripts $group: passed"
