#!/usr/bin/env bash
# Counts with callgrind the instructions of one whole move in the game, from the click on a
# tile to the last painted frame of its slide (bench/move_cost.cpp tells how), on the
# offscreen platform. Prints the count of each run, their median, the command that repeats
# one run, and the functions that cost most in the last run.
#
#   bench/move_cost.sh [RUNS]      (default 3)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}

build=$(bench/build.sh move_cost)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

for i in $(seq "$runs"); do
  valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$work/move.callgrind" \
    "$build/bench/move_cost" >"$work/run.log" 2>&1 || { cat "$work/run.log" >&2; exit 1; }
  count=$(awk '/^totals:/ { print $2 }' "$work/move.callgrind")
  echo "run $i: $count instructions; $(grep '^move:' "$work/run.log")"
  echo "$count" >>"$work/counts"
done
echo "median: $(sort -n "$work/counts" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }') instructions per move"
echo
echo "To repeat one run:"
echo "  QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind --instr-atstart=no \\"
echo "      --callgrind-out-file=move.callgrind $build/bench/move_cost"
echo "  callgrind_annotate move.callgrind | head -30"
echo
echo "Where the last run's instructions went (self cost):"
callgrind_annotate "$work/move.callgrind" 2>/dev/null |
  awk '/file:function/ { on = 1; getline; next } on && NF' | head -12 | sed -E 's/ \[[^]]*\/([^]/]+)\]$/ [\1]/'
