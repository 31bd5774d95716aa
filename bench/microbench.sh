#!/usr/bin/env bash
# Google Benchmark of the engine (TryMove, DealBoard, CheckArrangement) and of decoding each
# embedded picture. Prints the median of five repetitions of each.
#
#   bench/microbench.sh [extra Google Benchmark options]
set -euo pipefail
cd "$(dirname "$0")/.."

build=$(bench/build.sh engine_bench decode_bench)
options=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@")
for program in engine_bench decode_bench; do
  "$build/bench/$program" "${options[@]}" 2>&1 | grep -E '^(Run on|CPU Caches|Load Average|Benchmark|-{10}|BM_)' |
    grep -Ev '_(mean|stddev|cv) '
done
