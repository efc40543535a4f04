#!/usr/bin/env bash
# Measures the host interface's layout from a set of declaration headers, for Win64
# (MinGW-w64) and Linux x86-64 (g++), without running anything: each item becomes one
# function whose mangled parameter type carries the measured size, offset, value or type,
# and the values are read back from the object files' symbol tables.
#
#   scripts/measure-sdk-abi.sh HEADERS [ROWS]
#       prints the layout table (what, item, win64, linux-x86_64) of the rows named in ROWS
#       (a table whose first two columns are read; default tests/sdk/host-interface-layout.tsv).
#       HEADERS is Adobe's Examples/Headers folder, or sdk/ae for our own declarations.
#   scripts/measure-sdk-abi.sh --update HEADERS [ROWS]
#       measures the rows of ROWS again and replaces ROWS with the result once complete.
#   scripts/measure-sdk-abi.sh --compare HEADERS [ROWS]
#       measures HEADERS and sdk/ae/ and prints every row where they differ; exits 1 if any.
#       Suite tables may be shorter than the host's, so their sizes compare as "at most".
#
# An item that does not compile against HEADERS reads "absent from the host headers".
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

usage() { echo "usage: $0 [--compare | --update] HEADERS [ROWS]" >&2; exit 2; }
mode=print
case "${1:-}" in
  --compare | --update) mode=${1#--}; shift ;;
esac
[ $# -ge 1 ] && [ $# -le 2 ] || usage
headers="$(cd "$1" && pwd)" || usage
rows="${2:-$root/tests/sdk/host-interface-layout.tsv}"
[ -r "$rows" ] || { echo "measure-sdk-abi: cannot read $rows" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
absent="absent from the host headers"

# probe_line N WHAT ITEM: the probe source line that measures one row.
probe_line() {
  local n=$1 what=$2 item=$3 rec="${3%%.*}" field="${3#*.}"
  case "$what" in
    sizeof | "sizeof typedef") echo "void r$n(V_<(long long)sizeof($item)>) {}" ;;
    alignof | "alignof typedef") echo "void r$n(V_<(long long)alignof($item)>) {}" ;;
    offsetof) echo "void r$n(V_<(long long)offsetof($rec, $field)>) {}" ;;
    "sizeof field") echo "void r$n(V_<(long long)sizeof($rec::$field)>) {}" ;;
    "enum value" | "#define value" | "PF_VERSION value") echo "void r$n(V_<(long long)($item)>) {}" ;;
    "field/slot type") echo "void r$n(T_<decltype($rec::$field)>) {}" ;;
    "typedef type") echo "void r$n(T_<$item>) {}" ;;
    string) echo "extern \"C\" const char s$n[] = \"@@$n|\" $item \"@@\";" ;;
    "macro text") echo "extern \"C\" const char s$n[] = \"@@$n|\" PROBE_TEXT($item) \"@@\";" ;;
    *) echo "measure-sdk-abi: unknown kind of row '$what'" >&2; return 1 ;;
  esac
}

# Row numbers are line numbers of the probe after its fixed head.
head_lines() {
  cat <<'HEAD'
#include <stddef.h>
#include "A.h"
#include "SPBasic.h"
#include "AE_Effect.h"
#include "AE_EffectCB.h"
#include "AE_EffectCBSuites.h"
#include "AE_EffectSuites.h"
#include "AE_GeneralPlug.h"
template <long long V> struct V_ {};
template <class T> struct T_ {};
#define PROBE_TEXT_(x) #x
#define PROBE_TEXT(x) PROBE_TEXT_(x)
HEAD
}

tail -n +2 "$rows" | cut -f1,2 >"$work/rows"
{
  head_lines
  n=0
  while IFS=$'\t' read -r what item; do
    n=$((n + 1))
    probe_line "$n" "$what" "$item"
  done <"$work/rows"
} >"$work/probe.cpp"

# measure TARGET CXX NM: one value per row into $work/TARGET.values.
measure() {
  local target=$1 cxx=$2 nm=$3 src="$work/$1.cpp" obj="$work/$1.o"
  local flags=(-std=c++20 -w -fmax-errors=0 -D_WINDOWS -I"$headers" -c)
  [ -d "$headers/SP" ] && flags+=(-I"$headers/SP")
  cp "$work/probe.cpp" "$src"
  # Rows that do not compile name what the headers lack: blank them and compile again.
  if ! "$cxx" "${flags[@]}" "$src" -o "$obj" 2>"$work/$target.err"; then
    grep -o "^$src:[0-9]*:" "$work/$target.err" | cut -d: -f2 | sort -un >"$work/$target.bad"
    [ -s "$work/$target.bad" ] || { cat "$work/$target.err" >&2; return 1; }
    sed -i "$(sed 's/$/s|.*||/' "$work/$target.bad")" "$src"
    "$cxx" "${flags[@]}" "$src" -o "$obj" 2>"$work/$target.err" ||
      { cat "$work/$target.err" >&2; return 1; }
  fi
  {
    "$nm" -C "$obj" | sed -n 's/^[0-9a-f]* T r\([0-9]*\)(\(V_<\(.*\)ll>\|T_<\(.*\)>\))$/\1\t\3\4/p'
    strings -a "$obj" | sed -n 's/^@@\([0-9]*\)|\(.*\)@@$/\1\t\2/p'
  } >"$work/$target.found"
  awk -F'\t' -v absent="$absent" 'NR == FNR { value[$1] = $2; next }
    { print (FNR in value) ? value[FNR] : absent }' "$work/$target.found" "$work/rows" \
    >"$work/$target.values"
}

# table HEADERS: the four-column table measured from HEADERS, on standard output.
table() {
  headers=$1
  measure win64 x86_64-w64-mingw32-g++ x86_64-w64-mingw32-nm
  measure linux g++ nm
  printf 'what\titem\twin64\tlinux-x86_64\n'
  paste "$work/rows" "$work/win64.values" "$work/linux.values"
}

if [ "$mode" = print ]; then
  table "$headers"
  exit 0
fi
if [ "$mode" = update ]; then
  table "$headers" >"$work/table.tsv"
  # Beside the table, so that the rename replaces it in one step.
  next="$(mktemp "$rows.XXXXXX")"
  cp "$work/table.tsv" "$next" && chmod --reference="$rows" "$next" && mv "$next" "$rows" ||
    { rm -f "$next"; exit 1; }
  echo "measure-sdk-abi: $rows: $(($(wc -l <"$rows") - 1)) rows measured from $headers"
  exit 0
fi

table "$headers" >"$work/host.tsv"
table "$root/sdk/ae" >"$work/ours.tsv"
# Rows where ours differs; a suite table's size may be smaller than the host's.
paste "$work/host.tsv" <(cut -f3,4 "$work/ours.tsv") | tail -n +2 | awk -F'\t' '
  function differs(host, ours) {
    if (host == ours) return 0
    if ($1 == "sizeof" && $2 ~ /Suite[0-9]+$/ && ours + 0 > 0 && ours + 0 <= host + 0) return 0
    return 1
  }
  differs($3, $5) || differs($4, $6) {
    printf "%s %s: host %s / %s, ours %s / %s\n", $1, $2, $3, $4, $5, $6; n++
  }
  END {
    if (n) { printf "%d rows differ (Win64 / Linux x86-64)\n", n; exit 1 }
    print "no differences in " NR " rows"
  }'
