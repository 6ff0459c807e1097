#!/usr/bin/env bash
# The main job: builds the command-line program, gathers every title of the bundled
# scripts on the bundled sample machine into a compressed report, and prints the
# report's outline.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KAVLO_BUILD_DIR:-$root/build}
"$root/tools/install-deps.sh" --native
cmake -S "$root" -B "$build/main" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVLO_TESTS=OFF >/dev/null
cmake --build "$build/main" -j "$(nproc)" --target kavlo_cli >/dev/null
kavlo="$build/main/cli/kavlo"
out="$build/sample-report"
mkdir -p "$out"
report="$out/OFFICE7.IFO"
"$kavlo" gather --scripts "$root/scripts" --machine "$root/samples/office7" -o "$report" --gz
echo
"$kavlo" show "$report.gz"
