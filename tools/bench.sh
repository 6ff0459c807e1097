#!/usr/bin/env bash
# Builds and runs the Google Benchmark programs (optimised build in build/bench).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KAVLO_BUILD_DIR:-$root/build}
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVLO_BENCHMARKS=ON -DKAVLO_TESTS=OFF >/dev/null
cmake --build "$build/bench" -j "$(nproc)"
find "$build/bench" -type f -name '*_bench' -perm -u+x | sort | while read -r bench; do
  echo "=== $(basename "$bench")"
  "$bench" --benchmark_min_time=0.5
done
