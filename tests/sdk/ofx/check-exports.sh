#!/usr/bin/env bash
# Passes when the plug-in binary's dynamic symbol table defines OfxGetNumberOfPlugins and
# OfxGetPlugin and no other function or object (version nodes aside).
#   check-exports.sh BINARY
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 BINARY" >&2; exit 2; }
exported=$(nm -D --defined-only "$1" | awk '$2 != "A" { print $3 }' | sort | tr '\n' ' ')
expected="OfxGetNumberOfPlugins OfxGetPlugin "
if [ "$exported" != "$expected" ]; then
  echo "$1 exports '${exported% }', not '${expected% }'"
  exit 1
fi
echo "$1 exports ${expected% }"
