#!/usr/bin/env bash
# Installs what building and testing KAVLO needs on Debian, when it is missing.
set -euo pipefail

# --native: only what the Linux build needs (the main job); default: everything the tests need.
native=(cmake ninja-build g++ zlib1g-dev)
all=("${native[@]}" googletest clang libclang-rt-14-dev libbenchmark-dev g++-mingw-w64-x86-64 libz-mingw-w64-dev wine wine64 xvfb
     pci.ids dpkg-dev help2man)  # pci.ids for the Windows build's device index; the last two for the packages
wanted=("${all[@]}")
[ "${1:-}" = "--native" ] && wanted=("${native[@]}")

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for pkg in "${wanted[@]}"; do
  have_pkg "$pkg" || need+=("$pkg")
done
if [ "${#need[@]}" -gt 0 ]; then
  echo "installing: ${need[*]}" >&2
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${need[@]}"
fi
