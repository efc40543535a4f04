#!/usr/bin/env bash
# Passes when the OpenFX interface table has exactly the rows our declarations call for
# (scripts/list-ofx-declarations.sh): a name added to sdk/ofx without measuring it, or a
# row left behind by a name taken out, fails with the rows named.
#   check-table-rows.sh SOURCE_DIR DECLARATIONS TABLE
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 SOURCE_DIR DECLARATIONS TABLE" >&2; exit 2; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$1/scripts/list-ofx-declarations.sh" "$2" | tail -n +2 | sort >"$work/declared"
tail -n +2 "$3" | cut -f1,2 | sort >"$work/measured"
comm -23 "$work/declared" "$work/measured" | sed 's/^/not measured: /; s/\t/ /' >"$work/report"
comm -13 "$work/declared" "$work/measured" | sed 's/^/not declared: /; s/\t/ /' >>"$work/report"
if [ -s "$work/report" ]; then
  cat "$work/report"
  echo "$3: $(wc -l <"$work/report") rows differ from $2;" \
    "measure again: scripts/measure-ofx-abi.sh OFX_INCLUDE_DIR --update"
  exit 1
fi
echo "$3: every one of $(wc -l <"$work/declared") rows declared and measured"
