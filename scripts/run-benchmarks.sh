#!/usr/bin/env bash
# Runs every benchmark program (*_bench) in BUILD_DIR/bench.
#   scripts/run-benchmarks.sh BUILD_DIR [extra Google Benchmark flags...]
# Each benchmark runs for at least BENCH_MIN_TIME seconds (default 0.5), three times; the
# mean, median and spread of the three are reported. Fails when a program fails.
set -euo pipefail

if [[ $# -lt 1 ]]; then
  echo "usage: $0 BUILD_DIR [benchmark flags...]" >&2
  exit 2
fi
build_dir=$1
shift
min_time=${BENCH_MIN_TIME:-0.5}
# The widget benchmarks draw into images; they need no display.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

shopt -s nullglob
programs=("$build_dir"/bench/*_bench)
if [[ ${#programs[@]} -eq 0 ]]; then
  echo "no benchmark programs in $build_dir/bench (configure with ZENDRA_BENCH=ON)" >&2
  exit 1
fi

for program in "${programs[@]}"; do
  [[ -x $program ]] || continue
  echo "== $(basename "$program")"
  "$program" --benchmark_min_time="$min_time" --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true "$@"
done
