#!/usr/bin/env bash
# Builds and runs every test suite: native (gcc), sanitizers with the fuzz
# targets (clang: ASan, UBSan, libFuzzer), and Windows (MinGW-w64, under Wine).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KAVLO_BUILD_DIR:-$root/build}
jobs=$(nproc)
"$root/tools/install-deps.sh"

summary=()
run_suite() {  # name build-dir ctest-args...
  local name=$1 dir=$2; shift 2
  echo "=== $name tests" >&2
  local log="$dir/ctest-output.txt"
  set +e
  (cd "$dir" && ctest --output-on-failure -j "$jobs" "$@") 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  set -e
  summary+=("$name: $(grep -E 'tests passed|tests failed' "$log" | tail -n 1)")
  return "$rc"
}

status=0

echo "=== native build" >&2
# Light optimisation and no debug information keep three builds within CI's time
# on two cores; benchmarks build separately (tools/bench.sh).
# Benchmarks build here too (they run from tools/bench.sh), so a change that breaks one fails CI.
cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O1 -DKAVLO_BENCHMARKS=ON >/dev/null
cmake --build "$build/native" -j "$jobs"
run_suite native "$build/native" || status=1

echo "=== sanitizer and fuzz build" >&2
cmake -S "$root" -B "$build/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKAVLO_SANITIZE=ON -DKAVLO_FUZZ=ON >/dev/null
cmake --build "$build/asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite sanitizers "$build/asan" || status=1

echo "=== Windows build" >&2
cmake -S "$root" -B "$build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O1 \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake" >/dev/null
cmake --build "$build/win" -j "$jobs"
export WINEPREFIX="$build/win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1 || true
  wineserver -w || true
fi
# Windows tests share one Wine server (kept until the suite ends: a server that
# times out between two programs can turn the next start away; a fresh server
# per test program costs seconds) and run one at a time. Wine's
# own background processes start here, outside ctest: started by a test they
# would hold its output pipe, and ctest would wait for them to exit.
# Wine's desktop process starts with the first program and serves every later
# one while the server lives; started without a display it cannot create the GUI
# tests' windows. So the whole suite runs on one virtual display.
xvfb_pid=""
for number in 81 82 83 84 85 86 87 88; do
  if [ ! -e "/tmp/.X${number}-lock" ] && [ ! -e "/tmp/.X11-unix/X${number}" ]; then
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${number}" ] && break; sleep 0.1; done
    export DISPLAY=":$number"
    break
  fi
done
wineserver -p || true
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
run_suite windows "$build/win" -j 1 || status=1
wineserver -k || true
if [ -n "$xvfb_pid" ]; then
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  unset DISPLAY
fi

# The packages from the trees built above, so that a packaging break fails too.
echo "=== packages" >&2
if KAVLO_BUILD_DIR="$build" "$root/tools/package.sh"; then
  summary+=("packages: built and checked")
else
  summary+=("packages: FAILED")
  status=1
fi

echo
printf '%s\n' "${summary[@]}"
# One closing line over the three suites; ctest counts test programs.
printf '%s\n' "${summary[@]}" | awk '
  { for (i = 3; i + 3 <= NF; i++) if ($i == "failed" && $(i + 1) == "out") { failed += $(i - 2); total += $(i + 3) } }
  END { printf "programs: %d passed, %d failed\n", total - failed, failed }'
exit "$status"
