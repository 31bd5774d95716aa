#!/usr/bin/env bash
# The optimal solver on one core: Korf's 100 positions, each length checked against the
# listed optimum; the first hint of a run (loading the tables, then solving the position that
# takes the most work, no. 82, in a fresh process); and random deals of the game.
#
#   bench/solver.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build=$(bench/build.sh solver_bench)
bench="$build/bench/solver_bench"

echo "== Korf's 100 positions"
"$bench"
echo "== the first hint of a run: loading the tables and solving no. 82, five fresh processes"
for _ in 1 2 3 4 5; do
  "$bench" --first 82 | tail -n 2
done
echo "== random deals"
"$bench" --deals 300 --seed 1
