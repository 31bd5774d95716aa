#!/usr/bin/env bash
# The game against the floor, a bare Qt window with the same widget tree (bench/floor/):
# start-up time, resident memory and idle cost, the medians of several alternating starts;
# then the wakeups while a game's clock runs (the floor's button starts its clock too), and
# in the game the frames of tile slides. Everything runs on a private Xvfb display and is
# measured from outside by winprobe (bench/probe/winprobe.cpp); the programs are not
# instrumented. Installs and builds what it needs (bench/build.sh).
#
#   bench/startup.sh [-n RUNS] [-t STARTS] [-s SLIDES] [-c SECONDS] [-w SECONDS] [-k DIR]
#                    [-g PROGRAM]
#     -n RUNS     starts of each program, alternately, after one warm-up each (default 7)
#     -t STARTS   further short starts of each, alternately, that only time the start-up:
#                 on a shared machine single starts scatter widely (default 25)
#     -s SLIDES   slides to time in the game (default 10)
#     -c SECONDS  how long to count wakeups while the clock runs (default 10)
#     -w SECONDS  first wait up to this long for the 1-minute load average to fall below
#                 0.5, the other users of the machine being busy (default 0: do not wait)
#     -k DIR      keep every probe's raw output in DIR
#     -g PROGRAM  measure this build of the game instead of the one built here, e.g. an
#                 older one to compare with
set -euo pipefail

runs=7 timings=25 slides=10 clock_seconds=10 quiet_wait=0 keep="" other_game=""
while getopts "n:t:s:c:w:k:g:" option; do
  case $option in
    n) runs=$OPTARG ;;
    t) timings=$OPTARG ;;
    s) slides=$OPTARG ;;
    c) clock_seconds=$OPTARG ;;
    w) quiet_wait=$OPTARG ;;
    k) keep=$(realpath -m "$OPTARG") ;;
    g) other_game=$(realpath "$OPTARG") ;;
    *) sed -n '2,21p' "$0" >&2; exit 2 ;;
  esac
done
cd "$(dirname "$0")/.."

build=$(bench/build.sh pliton floor winprobe)
game=$build/app/pliton
[ -n "$other_game" ] && game=$other_game
floor=$build/bench/floor/floor
probe=$build/bench/probe/winprobe

work=$(mktemp -d)
cleanup() {
  local status=$?
  [ "$status" -eq 0 ] || { echo "failed; the probes said:" >&2; tail -n 20 "$work/stderr.log" >&2 2>/dev/null; }
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  if [ -n "$keep" ]; then mkdir -p "$keep" && cp "$work"/*.out "$keep"/ 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# A private X server on a free display, without a window manager.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset 5>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

load() { cut -d' ' -f1-3 /proc/loadavg; }
if [ "$quiet_wait" -gt 0 ]; then
  for _ in $(seq "$quiet_wait"); do
    awk '{ exit !($1 < 0.5) }' /proc/loadavg && break
    sleep 1
  done
fi
load_before=$(load)

# probe NAME OUTPUT-FILE winprobe-options...: runs winprobe on the named program.
probe() {
  local name=$1 out=$2
  shift 2
  local program=$game
  [ "$name" = floor ] && program=$floor
  "$probe" "$@" -- "$program" >"$out" 2>>"$work/stderr.log"
}

echo "Starting each program $((runs + 1)) times (the first a warm-up), about $((runs * 13 + 13)) s..." >&2
for i in $(seq 0 "$runs"); do
  order=(game floor)
  [ $((i % 2)) -eq 1 ] && order=(floor game)
  for name in "${order[@]}"; do
    probe "$name" "$work/start-$name-$i.out" --settle-ms 1000 --idle-ms 5000
    # The X server has let go of the last client before the next one starts.
    sleep 0.3
    [ "$i" -eq 0 ] && continue
    awk -v name="$name" 'NF == 2 { print name, $1, $2 }' "$work/start-$name-$i.out" >>"$work/starts"
  done
done

echo "Timing $timings more starts of each, about $((timings * 2)) s..." >&2
for i in $(seq 1 "$timings"); do
  order=(game floor)
  [ $((i % 2)) -eq 1 ] && order=(floor game)
  for name in "${order[@]}"; do
    probe "$name" "$work/timing-$name-$i.out" --settle-ms 300 --idle-ms 0
    sleep 0.3
    awk -v name="$name" '$1 ~ /^(map_ms|first_paint_ms|map_cpu_ms)$/ { print name, $1, $2 }' \
      "$work/timing-$name-$i.out" >>"$work/starts"
  done
done

echo "Running the clock for $clock_seconds s in each, then $slides slides in the game..." >&2
probe floor "$work/clock-floor.out" --settle-ms 500 --idle-ms 500 --game-ms $((clock_seconds * 1000))
probe game "$work/clock-game.out" --settle-ms 500 --idle-ms 500 --game-ms $((clock_seconds * 1000)) --slides "$slides"

echo "Counting with callgrind the instructions of each program until 2 s after its map..." >&2
for name in game floor; do
  program=$game
  [ "$name" = floor ] && program=$floor
  "$probe" --timeout-ms 120000 --settle-ms 2000 --idle-ms 0 -- valgrind --tool=callgrind \
    --callgrind-out-file="$work/$name.callgrind" "$program" >/dev/null 2>>"$work/stderr.log"
  awk '/^totals:/ { print $2 }' "$work/$name.callgrind" >"$work/$name.instructions"
done
load_after=$(load)

median() {  # median NAME KEY
  awk -v name="$1" -v key="$2" '$1 == name && $2 == key { print $3 }' "$work/starts" | sort -g |
    awk '{ v[NR] = $1 } END { print NR ? (v[int((NR + 1) / 2)] + v[int(NR / 2) + 1]) / 2 : "nan" }'
}
fastest() {  # fastest NAME KEY
  awk -v name="$1" -v key="$2" '$1 == name && $2 == key { print $3 }' "$work/starts" | sort -g | head -n1
}
value() { awk -v key="$2" '$1 == key { print $2 }' "$work/$1.out"; }
threads() { awk -v phase="$2" '$1 == "thread" && $2 == phase { printf "%s%s", sep, $4; sep = " " }' "$work/$1.out"; }
row() {  # row LABEL GAME FLOOR GOAL-RATIO-OR-EMPTY
  awk -v label="$1" -v g="$2" -v f="$3" -v goal="$4" 'BEGIN {
    ratio = (f > 0) ? sprintf("%.3f", g / f) : "-"
    verdict = ""
    if (goal != "") verdict = (f > 0 && g / f <= goal) ? "meets <= " goal : "MISSES <= " goal
    printf "%-44s %10s %10s %8s  %s\n", label, g, f, ratio, verdict }'
}

echo
echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(nproc) cores," \
  "$(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)," \
  "$(. /etc/os-release && echo "$PRETTY_NAME"), Qt $(pkg-config --modversion Qt6Core 2>/dev/null || echo 6)"
echo "Load average (1, 5, 15 min): before $load_before, after $load_after"
echo
echo "Medians of $((runs + timings)) starts each for the times, of $runs for memory and idling;" \
  "alternating; instructions: one run under callgrind:"
printf "%-44s %10s %10s %8s  %s\n" "measure" "game" "floor" "ratio" "goal"
row "exec to main window mapped (ms)" "$(median game map_ms)" "$(median floor map_ms)" 1.10
row "  the fastest start (ms)" "$(fastest game map_ms)" "$(fastest floor map_ms)" ""
row "exec to first paint (ms)" "$(median game first_paint_ms)" "$(median floor first_paint_ms)" ""
row "CPU time of all threads until mapped (ms)" "$(median game map_cpu_ms)" "$(median floor map_cpu_ms)" ""
row "resident memory 1 s after the map (KiB)" "$(median game rss_kb)" "$(median floor rss_kb)" 1.10
row "  of it anonymous (KiB)" "$(median game anon_kb)" "$(median floor anon_kb)" ""
row "instructions until 2 s after the map (millions)" \
  "$(awk '{ printf "%.1f", $1 / 1e6 }' "$work/game.instructions")" \
  "$(awk '{ printf "%.1f", $1 / 1e6 }' "$work/floor.instructions")" ""
row "threads" "$(median game threads)" "$(median floor threads)" ""
row "idle 5 s before a game: CPU time (ms)" "$(median game idle_cpu_ms)" "$(median floor idle_cpu_ms)" ""
row "idle 5 s before a game: context switches" "$(median game idle_switches)" "$(median floor idle_switches)" ""
row "idle 5 s before a game: frames painted" "$(median game idle_frames)" "$(median floor idle_frames)" ""
echo "threads of the game: $(threads "start-game-$runs" idle); of the floor: $(threads "start-floor-$runs" idle)"
echo
echo "While the clock runs ($clock_seconds s; per second, all threads):"
printf "%-44s %10s %10s\n" "" "game" "floor"
for key in game_voluntary_per_s game_main_voluntary_per_s game_switches_per_s game_frames_per_s game_cpu_ms_per_s; do
  printf "%-44s %10s %10s\n" "${key#game_}" "$(value clock-game $key)" "$(value clock-floor $key)"
done
echo "per thread, voluntary and involuntary switches in $clock_seconds s:"
awk '$1 == "thread" && $2 == "game" { printf "  game  %-18s %5d %5d\n", $4, $5, $6 }' "$work/clock-game.out"
awk '$1 == "thread" && $2 == "game" { printf "  floor %-18s %5d %5d\n", $4, $5, $6 }' "$work/clock-floor.out"
echo
echo "Slides in the game ($slides; frames that reached the X server, from the click):"
grep '^slide_times_ms' "$work/clock-game.out" | sed 's/^slide_times_ms/  ms:/'
for key in slide_frames_min slide_frames_max slide_first_frame_mean_ms slide_interval_mean_ms \
  slide_interval_min_ms slide_interval_max_ms slide_interval_sd_ms; do
  printf "  %-30s %s\n" "${key#slide_}" "$(value clock-game $key)"
done
printf "  %-30s %s\n" "intervals off 15 ms by > 2 ms" \
  "$(awk '$1 == "slide_intervals_off_by_2ms" { print $2, $3, $4 }' "$work/clock-game.out")"

echo
echo "Goals:"
verdict() { if awk "BEGIN { exit !($2) }"; then echo "  meets:  $1"; else echo "  MISSES: $1"; fi; }
verdict "start-up time at most 1.10 x the floor's" "$(median game map_ms) <= 1.10 * $(median floor map_ms)"
verdict "resident memory at most 1.10 x the floor's" "$(median game rss_kb) <= 1.10 * $(median floor rss_kb)"
verdict "no wakeups while no timer runs, as the floor" \
  "$(median game idle_switches) == 0 && $(median floor idle_switches) == 0"
verdict "while the clock runs, its one wakeup a second and nothing else (all threads)" \
  "$(value clock-game game_voluntary_per_s) <= 1.1"
verdict "nine frames a slide, each 15 +/- 2 ms after the one before" \
  "$(value clock-game slide_frames_min) == 9 && $(value clock-game slide_frames_max) == 9 &&
   $(value clock-game slide_interval_min_ms) >= 13 && $(value clock-game slide_interval_max_ms) <= 17"
