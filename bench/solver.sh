#!/usr/bin/env bash
# The optimal solver: Korf's 100 positions, each length checked against the listed optimum;
# the positions farthest from the goal (80 moves); the first hint of a run (loading the
# tables, then solving no. 82 in a fresh process); and random deals of the game, each length
# checked against tests/data/deal_lengths.txt.
#
#   bench/solver.sh
#
# Side by side with another build of the solver, e.g. that of the main branch, in one run:
# each measurement made by the one, then by the other, ROUNDS times over (default 3), and the
# least time of each kept (the nodes do not vary; a busy machine only adds time):
#
#   bench/solver.sh --base <that build's bench/solver_bench> [--rounds ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."

base= rounds=3
while [ $# -gt 0 ]; do
  case $1 in
    --base) base=$(realpath "$2"); shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    *) echo "usage: bench/solver.sh [--base SOLVER_BENCH] [--rounds N]" >&2; exit 2 ;;
  esac
done

build=$(bench/build.sh solver_bench)
bench="$build/bench/solver_bench"
hardest=tests/data/hardest.txt
lengths=tests/data/deal_lengths.txt

if [ -z "$base" ]; then
  echo "== Korf's 100 positions"
  "$bench"
  echo "== 80 moves from the goal"
  "$bench" --positions "$hardest"
  echo "== the first hint of a run: loading the tables and solving no. 82, five fresh processes"
  for _ in 1 2 3 4 5; do
    "$bench" --first 82 | tail -n 2
  done
  echo "== random deals"
  "$bench" --deals 1000 --seed 1 --lengths "$lengths"
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs `solver_bench ARGS` with the base and with this build, rounds times, into
# $work/<name>.base.<round> and $work/<name>.new.<round>.
measure() {
  local name=$1
  shift
  for ((r = 1; r <= rounds; r++)); do
    "$base" "$@" >"$work/$name.base.$r" || true
    "$bench" "$@" >"$work/$name.new.$r"
  done
}

# Per position: the nodes and the least CPU and wall time of each, and the ratios.
positions_table() {
  local name=$1
  awk '
    FNR == 1 { side = FILENAME ~ /\.base\./ ? "base" : "new" }
    $1 ~ /^[0-9]+$/ && NF >= 5 {
      key = side SUBSEP $1
      no[$1] = 1; len[key] = $2; nodes[key] = $3
      if (!(key in cpu) || $4 < cpu[key]) cpu[key] = $4
      if (!(key in wall) || $5 < wall[key]) wall[key] = $5
    }
    END {
      printf "%4s %4s %13s %13s %7s %10s %10s %7s %10s %10s %7s\n", "no.", "len", "nodes today", "nodes new", "ratio",
        "CPU today", "CPU new", "ratio", "wall today", "wall new", "ratio"
      n = 0
      for (p in no) order[++n] = p + 0
      for (i = 2; i <= n; i++) { v = order[i]; for (j = i - 1; j >= 1 && order[j] > v; j--) order[j + 1] = order[j]; order[j + 1] = v }
      for (i = 1; i <= n; i++) {
        p = order[i]; b = "base" SUBSEP p; w = "new" SUBSEP p
        printf "%4d %4d %13d %13d %7.3f %10.1f %10.1f %7.3f %10.1f %10.1f %7.3f\n", p, len[w], nodes[b], nodes[w],
          nodes[w] / nodes[b], cpu[b], cpu[w], cpu[w] / cpu[b], wall[b], wall[w], wall[w] / wall[b]
        tn[1] += nodes[b]; tn[2] += nodes[w]; tc[1] += cpu[b]; tc[2] += cpu[w]; tw[1] += wall[b]; tw[2] += wall[w]
      }
      printf "%9s %13d %13d %7.3f %10.1f %10.1f %7.3f %10.1f %10.1f %7.3f\n", "total", tn[1], tn[2], tn[2] / tn[1],
        tc[1], tc[2], tc[2] / tc[1], tw[1], tw[2], tw[2] / tw[1]
    }' "$work/$name".*.*
  grep -h "WRONG\|^positions" "$work/$name".new.* | sort | uniq -c
}

echo "== tables"
PLITON_RSS=1 "$base" --first 82 | head -n 2 | sed "s/^/today: /"
"$bench" --first 82 | head -n 2 | sed "s/^/new:   /"
echo "== 80 moves from the goal ($hardest), least of $rounds rounds, ms"
measure hardest --positions "$hardest"
positions_table hardest
echo "== Korf's 100 positions, least of $rounds rounds, ms"
measure korf
positions_table korf | tail -n 2
echo "== 1000 random deals, seed 1"
"$base" --deals 1000 --seed 1 | sed 's/^/today: /'
"$bench" --deals 1000 --seed 1 --lengths "$lengths" | sed 's/^/new:   /'
