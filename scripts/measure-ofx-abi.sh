#!/usr/bin/env bash
# Measures the OpenFX interface table (tests/sdk/ofx/ofx-interface.tsv) from the OpenFX
# headers with the After Effects table's measurer (scripts/measure-sdk-abi.sh --ofx).
#   scripts/measure-ofx-abi.sh OFX_INCLUDE_DIR            prints the table
#   scripts/measure-ofx-abi.sh OFX_INCLUDE_DIR --update   measures the rows our
#       declarations call for and replaces the table
#   scripts/measure-ofx-abi.sh OFX_INCLUDE_DIR --compare  rows where sdk/ofx differs
# The mode may also come first, as measure-sdk-abi.sh takes it.
set -euo pipefail
usage() { echo "usage: $0 OFX_INCLUDE_DIR [--update | --compare]" >&2; exit 2; }
mode=()
args=()
for arg in "$@"; do
  case "$arg" in
    --update | --compare) mode=("$arg") ;;
    -*) usage ;;
    *) args+=("$arg") ;;
  esac
done
[ ${#args[@]} -eq 1 ] || usage
exec "$(dirname "$0")/measure-sdk-abi.sh" --ofx "${mode[@]}" "${args[0]}"
