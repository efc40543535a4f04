#!/usr/bin/env bash
# Assembles the source tree scripts/build-natron.sh builds from, out of local git copies
# (bare or not) of NatronGitHub's repositories: Natron, openfx, SequenceParsing, tinydir,
# openfx-io and openfx-supportext.
#   scripts/fetch-natron-src.sh MIRRORS DEST [NATRON_REF]
# MIRRORS holds one copy per repository, named NAME, NAME.git or NatronGitHub+NAME/repo.
# NATRON_REF defaults to RB-2.5 (Natron 2.5, the branch with the CMake build and Qt5; master
# is the older qmake tree). DEST gets Natron/ and openfx-io/, each with its submodules at the
# commits the superproject's gitlinks name; a gitlink whose commit the copy lacks falls back
# to the copy's newest commit, and says so. Google Test and Breakpad are left out: the build
# needs neither. DEST is replaced whole.
set -euo pipefail
[ $# -ge 2 ] && [ $# -le 3 ] || { sed -n 2,11p "$0" >&2; exit 2; }
mirrors=$(realpath -e "$1" 2>/dev/null) || { echo "fetch-natron-src: no folder '$1'" >&2; exit 2; }
dest=$(realpath -m "$2")
natron_ref=${3:-RB-2.5}

fail() { echo "fetch-natron-src: $*" >&2; exit 1; }

# git_dir NAME: the copy of repository NAME under MIRRORS.
git_dir() {
  local d
  for d in "$mirrors/$1" "$mirrors/$1.git" "$mirrors/NatronGitHub+$1/repo"; do
    [ -d "$d/.git" ] && d=$d/.git
    git -C "$d" rev-parse --git-dir >/dev/null 2>&1 && { echo "$d"; return; }
  done
  fail "no git copy of $1 in $mirrors (looked for $1, $1.git, NatronGitHub+$1/repo)"
}

# gitlink REPO COMMIT PATH: the commit that COMMIT's tree names for the submodule at PATH.
gitlink() {
  local mode type hash
  read -r mode type hash _ < <(git -C "$1" ls-tree "$2" -- "$3") || fail "cannot read $3 in $1 at $2"
  [ "$type" = commit ] || fail "$3 is not a submodule in $1 at $2 (a $mode $type)"
  echo "$hash"
}

# absent_files GIT_DIR COMMIT: exclusion pathspecs for the files of COMMIT whose contents the
# copy does not hold (a partial copy leaves its largest files out, pictures in the docs).
absent_files() {
  git -C "$1" ls-tree -r --format='%(objecttype) %(objectname)' "$2" | awk '$1 == "blob" { print $2 }' |
    git -C "$1" cat-file --batch-check='%(objectname)' 2>/dev/null | awk '$2 == "missing" { print $1 }' |
    sort >"$stage/.missing" || true
  [ -s "$stage/.missing" ] || return 0
  git -C "$1" ls-tree -r --format='%(objectname)%x09%(path)' "$2" | sort -t $'\t' -k1,1 |
    join -t $'\t' -o 1.2 - "$stage/.missing" | sed 's/^/:(exclude)/'
}

# extract NAME COMMIT DIR: the tree of COMMIT of NAME's copy into DIR; a commit the copy
# lacks falls back to its newest.
extract() {
  local dir commit=$2
  dir=$(git_dir "$1")
  if ! git -C "$dir" cat-file -e "$commit^{commit}" 2>/dev/null; then
    commit=$(git -C "$dir" rev-parse HEAD) || fail "$1's copy has no commits"
    echo "fetch-natron-src: $1 lacks $2; using its newest commit $commit" >&2
  fi
  mkdir -p "$3"
  local -a skip=()
  mapfile -t skip < <(absent_files "$dir" "$commit")
  [ ${#skip[@]} -eq 0 ] ||
    echo "fetch-natron-src: $1's copy lacks ${#skip[@]} files (${skip[*]#:(exclude)}); left out" >&2
  git -C "$dir" archive "$commit" -- . "${skip[@]}" | tar -x -C "$3" ||
    fail "cannot extract $1 $commit into $3"
  echo "$1 $commit -> ${3#"$stage"/}"
  echo "$commit"  >"$3/.source-commit" || fail "cannot write $3/.source-commit"
}

# submodule SUPER_NAME SUPER_COMMIT NAME PATH PARENT_DIR: NAME at the commit the superproject
# names for PATH, into PARENT_DIR/PATH.
submodule() {
  local super commit
  super=$(git_dir "$1")
  commit=$(gitlink "$super" "$2" "$4")
  rm -rf "${5:?}/$4"
  extract "$3" "$commit" "$5/$4"
}

stage=$dest.part
rm -rf "$stage"
mkdir -p "$stage" || fail "cannot make $stage"

natron=$(git -C "$(git_dir Natron)" rev-parse "$natron_ref^{commit}") || fail "Natron has no $natron_ref"
extract Natron "$natron" "$stage/Natron"
submodule Natron "$natron" openfx libs/OpenFX "$stage/Natron"
submodule Natron "$natron" SequenceParsing libs/SequenceParsing "$stage/Natron"
sp=$(cat "$stage/Natron/libs/SequenceParsing/.source-commit")
submodule SequenceParsing "$sp" tinydir tinydir "$stage/Natron/libs/SequenceParsing"

io=$(git -C "$(git_dir openfx-io)" rev-parse HEAD)
extract openfx-io "$io" "$stage/openfx-io"
submodule openfx-io "$io" openfx openfx "$stage/openfx-io"
submodule openfx-io "$io" openfx-supportext SupportExt "$stage/openfx-io"
submodule openfx-io "$io" SequenceParsing IOSupport/SequenceParsing "$stage/openfx-io"
sp=$(cat "$stage/openfx-io/IOSupport/SequenceParsing/.source-commit")
submodule SequenceParsing "$sp" tinydir tinydir "$stage/openfx-io/IOSupport/SequenceParsing"

rm -rf "$dest"
mv "$stage" "$dest" || fail "cannot move $stage to $dest"
echo "fetch-natron-src: sources in $dest"
