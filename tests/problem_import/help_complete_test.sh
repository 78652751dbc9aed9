#!/bin/bash
# `zendra-db --help` names every command and every option the argument parser accepts, and
# exits 0 on standard output; no arguments at all is a usage error (2).
# usage: help_complete_test.sh <zendra-db> <zendra_db.cpp, where the commands are read>
set -u
db=$1
source=$2
help=$("$db" --help) || { echo "FAIL --help exit status $?"; exit 1; }
failed=0
# The commands RunCommand dispatches and the options ParseArgs compares against.
names=$(grep -oE 'args\.command == "[a-z]+"|a == "-{1,2}[a-z-]+"' "$source" | grep -oE '"[^"]+"' | tr -d '"')
[ -n "$names" ] || { echo "FAIL no commands or options found in $source"; exit 1; }
for name in $names; do
  if ! grep -qE -- "(^|[^a-z-])$name([^a-z-]|$)" <<<"$help"; then
    echo "FAIL --help does not mention $name"
    failed=1
  fi
done
"$db" >/dev/null 2>&1
status=$?
[ "$status" -eq 2 ] || { echo "FAIL no arguments: exit status $status, not 2"; failed=1; }
[ $failed -eq 0 ] && echo "ok   --help names: $(echo $names)"
exit $failed
