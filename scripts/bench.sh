#!/usr/bin/env bash
# Builds and runs the benchmarks, each beside its floor; prints one table and writes <build>/bench.json.
set -euo pipefail

build="${1:-build}"
root="$(cd "$(dirname "$0")/.." && pwd)"

if [ ! -f "$build/CMakeCache.txt" ]; then
    echo "bench: $build is not a configured build directory (run: make build BUILD=$build)" >&2
    exit 1
fi
if [ ! -d "$build/bench/CMakeFiles/window_bench.dir" ]; then
    echo "bench: the benchmarks are not configured in $build: Google Benchmark" \
        "(libbenchmark-dev) was not found, or the game is switched off" >&2
    exit 1
fi

cmake --build "$build" -j 2 --target solver_bench startup_game startup_floor window_bench
exec python3 "$root/bench/run_bench.py" "$build"
