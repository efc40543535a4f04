# Sourced by the script tests in this folder: their failure report and their one check of a
# command. Both write into $tmp, which the sourcing script makes and removes.

bad() { echo "FAIL: $*" >&2; exit 1; }

# expect STATUS PATTERN COMMAND...: the command's status and a line of its output.
expect() {
  local want=$1 pattern=$2 status=0
  shift 2
  "$@" >"$tmp/output" 2>&1 || status=$?
  [ "$status" = "$want" ] || bad "$* exited $status, not $want: $(cat "$tmp/output")"
  grep -q -- "$pattern" "$tmp/output" || bad "$* did not say '$pattern': $(cat "$tmp/output")"
}
