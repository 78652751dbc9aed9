#!/usr/bin/env bash
# zendra-db build: a remark list that overflows is said, and --strict turns it into an error.
#   remark_overflow_test.sh ZENDRA_DB
set -euo pipefail
db=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/src"
# 260 one-move problems, each with a comment of its own: five more than the list holds.
for i in $(seq 1 260); do
  printf '(;FF[4]GM[1]SZ[19]AB[aa]AW[ba]PL[B];B[ca]C[Correct. Remark number %d.])' "$i" \
    > "$work/src/p$i.sgf"
done
out=$("$db" build "$work/src" -o "$work/a.dgo") || { echo "plain build failed: $out"; exit 1; }
grep -q "5 remarks left out" <<< "$out" || { echo "no word of the left-out remarks: $out"; exit 1; }
if "$db" build "$work/src" -o "$work/b.dgo" --strict > /dev/null; then
  echo "--strict accepted a build that left remarks out"
  exit 1
fi
# Within the limit, --strict is content.
rm "$work"/src/p{256..260}.sgf
"$db" build "$work/src" -o "$work/c.dgo" --strict > /dev/null || { echo "--strict refused 255 remarks"; exit 1; }
echo "ok"
