#!/usr/bin/env bash
# Installs what the performance measurements need, on top of scripts/setup, and builds
# them with the game (Release) into build-bench/. Idempotent; prints the build directory.
#
#   bench/build.sh [target...]     default: every measurement and the game
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup >&2

packages=(
  libbenchmark-dev                                  # Google Benchmark
  valgrind                                          # callgrind, and its client header
  libxcb1-dev libxcb-damage0-dev libxcb-xtest0-dev  # winprobe
  pkg-config xvfb xauth
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  if [ "$(id -u)" -eq 0 ]; then
    as_root=()
  elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
  else
    echo "Missing packages (${missing[*]}) and no root rights to install them." >&2
    exit 1
  fi
  "${as_root[@]}" apt-get update -qq >&2
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
fi

build=build-bench
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(pliton floor winprobe engine_bench decode_bench move_cost solver_bench hint_latency)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DPLITON_BUILD_BENCH=ON -DPLITON_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}" >&2
echo "$build"
