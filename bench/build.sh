#!/usr/bin/env bash
# Installs what the performance measurements need (scripts/setup) and builds them with the
# game (Release) into build-bench/. Idempotent; prints the build directory.
#
#   bench/build.sh [target...]     default: every measurement and the game
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup >&2

build=build-bench
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(pliton floor winprobe engine_bench decode_bench move_cost solver_bench hint_latency)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DPLITON_BUILD_BENCH=ON -DPLITON_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}" >&2
echo "$build"
