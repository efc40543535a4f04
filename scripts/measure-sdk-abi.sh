#!/usr/bin/env bash
# Measures a host interface's layout from a set of declaration headers, for Win64
# (MinGW-w64) and Linux x86-64 (g++), without running anything: each item becomes one
# function whose mangled parameter type carries the measured size, offset, value or type,
# and the values are read back from the object files' symbol tables.
#
#   scripts/measure-sdk-abi.sh [--ofx] HEADERS [ROWS]
#       prints the layout table (what, item, win64, linux-x86_64) of the rows named in ROWS
#       (a table whose first two columns are read; default tests/sdk/host-interface-layout.tsv,
#       or tests/sdk/ofx/ofx-interface.tsv with --ofx).
#       HEADERS is Adobe's Examples/Headers folder, or sdk/ae for our own declarations;
#       with --ofx, the OpenFX headers' include folder, or sdk/ofx.
#   scripts/measure-sdk-abi.sh [--ofx] --update HEADERS [ROWS]
#       measures the rows of ROWS again and replaces ROWS with the result once complete.
#       With --ofx the rows are those our declarations call for
#       (scripts/list-ofx-declarations.sh), so a name added to sdk/ofx gains its rows.
#   scripts/measure-sdk-abi.sh [--ofx] --compare HEADERS [ROWS]
#       measures HEADERS and our declarations (sdk/ae, or sdk/ofx) and prints every row
#       where they differ; exits 1 if any. After Effects suite tables may be shorter than
#       the host's, so their sizes compare as "at most".
#
# An item that does not compile against HEADERS reads "absent from the host headers".
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

usage() { echo "usage: $0 [--ofx] [--compare | --update] HEADERS [ROWS]" >&2; exit 2; }
mode=print
interface=ae
while [ $# -gt 0 ]; do
  case "$1" in
    --ofx) interface=ofx; shift ;;
    --compare | --update) mode=${1#--}; shift ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] && [ $# -le 2 ] || usage
headers="$(cd "$1" && pwd)" || usage
if [ "$interface" = ofx ]; then
  ours="$root/sdk/ofx"
  rows="${2:-$root/tests/sdk/ofx/ofx-interface.tsv}"
else
  ours="$root/sdk/ae"
  rows="${2:-$root/tests/sdk/host-interface-layout.tsv}"
fi
[ -r "$rows" ] || [ "$interface/$mode" = ofx/update ] ||
  { echo "measure-sdk-abi: cannot read $rows" >&2; exit 2; }

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

# includes: the interface's headers, in an order the host's own headers accept.
includes() {
  if [ "$interface" = ofx ]; then
    # Every header we declare, under the name the OpenFX standard gives it.
    (cd "$ours" && ls -- *.h)
  else
    printf '%s\n' A.h SPBasic.h AE_Effect.h AE_EffectCB.h AE_EffectCBSuites.h \
      AE_EffectSuites.h AE_GeneralPlug.h
  fi
}

# Row numbers are line numbers of the probe after its fixed head.
head_lines() {
  echo "#include <stddef.h>"
  includes | sed 's/.*/#include "&"/'
  cat <<'HEAD'
template <long long V> struct V_ {};
template <class T> struct T_ {};
#define PROBE_TEXT_(x) #x
#define PROBE_TEXT(x) PROBE_TEXT_(x)
HEAD
}

if [ "$interface/$mode" = ofx/update ]; then
  "$root/scripts/list-ofx-declarations.sh" "$ours" | tail -n +2 >"$work/rows"
else
  tail -n +2 "$rows" | cut -f1,2 >"$work/rows"
fi
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
  # A name of ours that the OpenFX headers lack is a wrong name, not a row to keep.
  if [ "$interface" = ofx ] && grep -q "$absent" "$work/table.tsv"; then
    grep "$absent" "$work/table.tsv" | cut -f1,2 | sed 's/^/measure-sdk-abi: absent: /' >&2
    echo "measure-sdk-abi: $rows not updated: sdk/ofx declares names $headers lacks" >&2
    exit 1
  fi
  # Beside the table, so that the rename replaces it in one step.
  next="$(mktemp "$rows.XXXXXX")"
  { if [ -e "$rows" ]; then chmod --reference="$rows" "$next"; else chmod 644 "$next"; fi; } &&
    cp "$work/table.tsv" "$next" && mv "$next" "$rows" ||
    { rm -f "$next"; exit 1; }
  echo "measure-sdk-abi: $rows: $(($(wc -l <"$rows") - 1)) rows measured from $headers"
  exit 0
fi

table "$headers" >"$work/host.tsv"
table "$ours" >"$work/ours.tsv"
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
