#!/usr/bin/env bash
# Takes PNG pictures of kavlo.exe for the documentation: the main window with
# each view kind, each wizard page, the timed report dialog and the small
# dialogs, on the bundled sample machine under Wine and a virtual X display.
# The UI tests take them where they show these windows (KAVLO_SCREENSHOTS).
#
#   tools/screenshots.sh [OUTDIR]      (default: docs/screenshots)
#
# Builds the Windows tree in $KAVLO_BUILD_DIR/win (default build/win) if needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KAVLO_BUILD_DIR:-$root/build}/win
out=${1:-$root/docs/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)

for tool in Xvfb wine; do
  command -v "$tool" >/dev/null || { echo "screenshots.sh: $tool is needed (tools/install-deps.sh)" >&2; exit 1; }
done

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake" >/dev/null
fi
cmake --build "$build" --target kavlo_ui_test -j "$(nproc)"

export WINEPREFIX=${WINEPREFIX:-$build/wineprefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w || true
fi
# The tests write the pictures themselves (the windows' pixels as PNG).
KAVLO_SCREENSHOTS="Z:${out//\//\\}" sh "$root/ui/tests/run_with_xvfb.sh" wine "$build/ui/tests/kavlo_ui_test.exe" --gtest_brief=1
ls -1 "$out"/*.png
