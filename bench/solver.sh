#!/usr/bin/env bash
# The optimal solver: Korf's 100 positions, each length checked against the listed optimum;
# one of the positions farthest from the goal (80 moves); the first hint of a run (loading
# the tables, then solving no. 82 in a fresh process); and random deals of the game.
#
#   bench/solver.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build=$(bench/build.sh solver_bench)
bench="$build/bench/solver_bench"

echo "== Korf's 100 positions"
"$bench"
echo "== 80 moves from the goal"
"$bench" --positions <(echo "1 80 0 12 9 13 15 11 10 14 3 7 2 5 4 8 6 1")
echo "== the first hint of a run: loading the tables and solving no. 82, five fresh processes"
for _ in 1 2 3 4 5; do
  "$bench" --first 82 | tail -n 2
done
echo "== random deals"
"$bench" --deals 1000 --seed 1
