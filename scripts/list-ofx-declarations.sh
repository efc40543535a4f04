#!/usr/bin/env bash
# Lists the rows (what, item) of the OpenFX interface table that our declarations call for:
# for every struct its size, alignment and each field's offset, size and type; every other
# typedef's type; every kOfx macro's value, as a string or a number, and the text of the
# other Ofx macros (OfxExport). The measurer
# (scripts/measure-ofx-abi.sh --update) measures these rows from the OpenFX headers, and a
# test holds tests/sdk/ofx/ofx-interface.tsv to them, so no name we declare goes unmeasured.
#   scripts/list-ofx-declarations.sh [DECLARATIONS]   (default sdk/ofx)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
decls="$(cd "${1:-$root/sdk/ofx}" && pwd)"
cc="${CC:-gcc}"

headers() { (cd "$decls" && ls -- *.h | sed 's/.*/#include "&"/'); }

printf 'what\titem\n'
# Preprocessed as C, so that no extern "C" block wraps the declarations.
headers | "$cc" -x c -E -P -I"$decls" - | tr '\n' ' ' | awk '
  function trim(s) { gsub(/^ +| +$/, "", s); return s }
  function last_identifier(s) {
    sub(/\[[^]]*\] *$/, "", s)
    match(s, /[A-Za-z_][A-Za-z0-9_]* *$/)
    return trim(substr(s, RSTART, RLENGTH))
  }
  function field_names(member, names,    n, i, parts) {
    # A function pointer is named inside its first parentheses: (*name).
    if (match(member, /\( *\* *[A-Za-z_][A-Za-z0-9_]* *\)/)) {
      names[1] = substr(member, RSTART, RLENGTH)
      gsub(/[()* ]/, "", names[1])
      return 1
    }
    n = split(member, parts, ",")
    for (i = 1; i <= n; i++) names[i] = last_identifier(parts[i])
    return n
  }
  function struct_rows(statement,    name, body, members, m, i, k, f, names) {
    name = last_identifier(statement)
    body = substr(statement, index(statement, "{") + 1)
    sub(/}[^}]*$/, "", body)
    if (name !~ /^Ofx/) return
    printf "sizeof\t%s\nalignof\t%s\n", name, name
    m = split(body, members, ";")
    for (i = 1; i <= m; i++) {
      if (trim(members[i]) == "") continue
      k = field_names(members[i], names)
      for (f = 1; f <= k; f++) {
        printf "offsetof\t%s.%s\nsizeof field\t%s.%s\n", name, names[f], name, names[f]
        types = types sprintf("field/slot type\t%s.%s\n", name, names[f])
      }
    }
  }
  function typedef_row(statement,    name) {
    # A function type is named in parentheses before its parameters: R (Name)(...).
    if (match(statement, /\( *[A-Za-z_][A-Za-z0-9_]* *\) *\(/)) {
      name = substr(statement, RSTART, RLENGTH)
      gsub(/[() ]/, "", name)
    } else {
      name = last_identifier(statement)
    }
    if (name ~ /^Ofx/) typedefs = typedefs sprintf("typedef type\t%s\n", name)
  }
  function statement_rows(s) {
    s = trim(s)
    if (s ~ /^typedef struct [A-Za-z_0-9]* *\{/) struct_rows(s)
    else if (s ~ /^typedef /) typedef_row(s)
  }
  {
    depth = 0; statement = ""
    for (i = 1; i <= length($0); i++) {
      c = substr($0, i, 1)
      if (c == "{") depth++
      if (c == "}") depth--
      if (c == ";" && depth == 0) { statement_rows(statement); statement = ""; continue }
      statement = statement c
    }
  }
  END { printf "%s%s", types, typedefs }'

# Macros: our own names (function-like ones have a parenthesis in the name and no value).
headers | "$cc" -x c -E -dM -I"$decls" - |
  awk '$1 == "#define" && $2 ~ /^k?Ofx[A-Za-z0-9_]*$/ {
    value = $0; sub(/^#define [^ ]* */, "", value)
    kind = value ~ /^"/ ? "string" : $2 ~ /^kOfx/ ? "#define value" : "macro text"
    printf "%s\t%s\n", kind, $2
  }' | sort -t$'\t' -k2,2
