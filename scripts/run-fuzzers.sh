#!/usr/bin/env bash
# Runs every libFuzzer target (fuzz_*) in BUILD_DIR/fuzz for SECONDS each, one after another.
#   scripts/run-fuzzers.sh BUILD_DIR SECONDS
# A target starts from its seeds in fuzz/corpus/NAME (NAME without the fuzz_ prefix) and from
# the inputs it gathered before in BUILD_DIR/fuzz-corpus/NAME, where new inputs go; crash
# inputs go to BUILD_DIR/fuzz-artifacts/NAME. Fails when any target crashes, leaks, times out
# or runs out of memory.
set -euo pipefail

if [[ $# -ne 2 || ! $2 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 BUILD_DIR SECONDS" >&2
  exit 2
fi
build_dir=$1
seconds=$2
source_dir=$(cd "$(dirname "$0")/.." && pwd)

shopt -s nullglob
targets=("$build_dir"/fuzz/fuzz_*)
if [[ ${#targets[@]} -eq 0 ]]; then
  echo "no fuzz targets in $build_dir/fuzz (configure with the fuzz preset)" >&2
  exit 1
fi

failed=()
for target in "${targets[@]}"; do
  [[ -x $target && -f $target ]] || continue
  name=$(basename "$target")
  short=${name#fuzz_}
  work="$build_dir/fuzz-corpus/$short"
  artifacts="$build_dir/fuzz-artifacts/$short"
  mkdir -p "$work" "$artifacts"
  corpora=("$work")
  [[ -d $source_dir/fuzz/corpus/$short ]] && corpora+=("$source_dir/fuzz/corpus/$short")
  echo "== $name for ${seconds}s"
  if "$target" -max_total_time="$seconds" -timeout=10 -max_len=4096 -print_final_stats=1 \
      -artifact_prefix="$artifacts/" "${corpora[@]}"; then
    echo "== $name: clean"
  else
    echo "== $name: FAILED, inputs in $artifacts" >&2
    failed+=("$name")
  fi
done

if [[ ${#failed[@]} -gt 0 ]]; then
  echo "fuzz targets failed: ${failed[*]}" >&2
  exit 1
fi
