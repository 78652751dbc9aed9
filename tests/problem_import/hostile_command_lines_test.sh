#!/usr/bin/env bash
# zendra-db and zendra-board on hostile command lines end with an error message and exit code
# 1 or 2, never abort; a file-size limit (ulimit -f) makes the build fail with a message
# instead of killing it.
#   hostile_command_lines_test.sh ZENDRA_DB ZENDRA_BOARD DATA_DIR
set -uo pipefail
db=$1
board=$2
data=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# expect CODE MESSAGE_PART COMMAND...: the command ends with CODE and prints MESSAGE_PART.
expect() {
  local code=$1 part=$2
  shift 2
  local out
  out=$("$@" 2>&1)
  local rc=$?
  if [[ $rc -ne $code || $out != *"$part"* ]]; then
    echo "FAIL: $* -> exit $rc (wanted $code), output: ${out:0:300}"
    failed=1
  else
    echo "ok: $* -> $rc"
  fi
}

"$db" build "$data" --collections-only -o "$work/z.dgo" > /dev/null || { echo "build failed"; exit 1; }
expect 1 "'-' is not a problem number" "$db" show "$work/z.dgo" -
expect 1 "'-' is not a problem number" "$db" play "$work/z.dgo" - CC
expect 1 "'99999999999' is not a problem number" "$db" show "$work/z.dgo" 99999999999
expect 2 "--group takes a whole number, not '-'" "$db" list "$work/z.dgo" --group -
expect 2 "--level needs a value" "$db" build "$data" -o "$work/y.dgo" --level
expect 2 "unknown command 'frobnicate'" "$db" frobnicate
expect 2 "--handicap takes a number from 0 to 9, not '-'" "$board" --handicap -
expect 2 "--komi needs a value" "$board" --komi

# A file-size limit of 4 KB: the data file cannot be written, which is said, not a SIGXFSZ.
expect 1 "error:" bash -c "ulimit -f 4; exec \"$db\" build \"$data\" --collections-only -o \"$work/big.dgo\""

exit $failed
