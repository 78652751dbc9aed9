#!/usr/bin/env bash
# zendra-db build: comments beyond one shared list of 255 are kept in each problem's own list;
# a problem with more than 255 comments of its own loses some, which is said, and is an error
# under --strict; --shared-remarks demands the one shared list.
#   remark_overflow_test.sh ZENDRA_DB
set -euo pipefail
db=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
letters=(a b c d e f g h i j k l m n o p q r s)

# 300 one-move problems, each with a comment of its own: more than one shared list holds.
mkdir "$work/many"
for i in $(seq 1 300); do
  printf '(;FF[4]GM[1]SZ[19]AB[aa]AW[ba]PL[B];B[ca]C[Correct. Remark number %d.])' "$i" \
    > "$work/many/p$(printf %03d "$i").sgf"
done
out=$("$db" build "$work/many" -o "$work/many.dgo" --strict) || { echo "--strict refused 300 comments: $out"; exit 1; }
grep -q "remarks: one list per problem" <<< "$out" || { echo "no per-problem lists: $out"; exit 1; }
shown=$("$db" show "$work/many.dgo" 300)
grep -q 'comment "Correct. Remark number 300."' <<< "$shown" || { echo "comment 300 lost: $shown"; exit 1; }
# Our own collections must keep the shared list: --shared-remarks makes the overflow an error.
if "$db" build "$work/many" -o "$work/shared.dgo" --shared-remarks > /dev/null 2>&1; then
  echo "--shared-remarks accepted 300 texts"
  exit 1
fi

# One problem with 260 wrong first moves, each with a comment of its own: five more than its
# list holds.
mkdir "$work/one"
sgf='(;FF[4]GM[1]SZ[19]AB[aa]PL[B](;B[ab]C[Correct])'
n=0
for p in "${letters[@]}"; do
  for q in "${letters[@]}"; do
    [[ $p$q == aa || $p$q == ab ]] && continue
    (( n < 260 )) || break 2
    n=$((n + 1))
    sgf+="(;B[$p$q]C[Wrong. Remark number $n.])"
  done
done
printf '%s)' "$sgf" > "$work/one/p.sgf"
out=$("$db" build "$work/one" -o "$work/one.dgo") || { echo "plain build failed: $out"; exit 1; }
grep -q "5 remarks left out" <<< "$out" || { echo "no word of the left-out remarks: $out"; exit 1; }
if "$db" build "$work/one" -o "$work/one-strict.dgo" --strict > /dev/null; then
  echo "--strict accepted a build that left remarks out"
  exit 1
fi
echo "ok"
