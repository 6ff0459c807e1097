#!/usr/bin/env bash
# Makes the two packages and checks them:
#   build/win/KAVLO-<version>-win64.zip   what a customer downloads: unpacked, it
#       must run with nothing else installed and gather a report under Wine;
#   build/native/kavlo_<version>_<arch>.deb   the command line for support staff:
#       unpacked into a scratch root, it must find its own scripts and sample.
# Reuses the build trees when they exist (tools/test-all.sh made them), else
# configures release trees without tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KAVLO_BUILD_DIR:-$root/build}
"$root/tools/install-deps.sh"

fail() { echo "package check failed: $*" >&2; exit 1; }
check() { echo "  ok: $*"; }

make_package() {  # build-dir cmake-args...
  local dir=$1; shift
  [ -f "$dir/CMakeCache.txt" ] ||
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVLO_TESTS=OFF "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)" --target package >"$dir/package-output.txt" 2>&1 ||
    { cat "$dir/package-output.txt" >&2; fail "cmake --build $dir --target package"; }
}

echo "=== packages: build" >&2
make_package "$build/native"
make_package "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake"

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/native/CPackConfig.cmake")
IFS=. read -r major minor _ build_number <<<"$version"
expected_version="kavlo $major.$minor (build $build_number)"
zip="$build/win/KAVLO-$version-win64.zip"
deb="$build/native/kavlo_${version}_$(dpkg --print-architecture).deb"
[ -f "$zip" ] || fail "no $zip"
[ -f "$deb" ] || fail "no $deb"

scratch=$(mktemp -d "$build/package-check.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
# The shipped scripts, named as the source tree has them.
(cd "$root/scripts" && ls DBGList.cfg *.dbg) | sort >"$scratch/scripts.txt"

echo "=== packages: Windows ZIP" >&2
top="KAVLO-$version-win64"
(cd "$scratch" && cmake -E tar tf "$zip") | sed -n "s|^$top/||p" | grep -v '/$' | sort >"$scratch/zip.txt"
{
  printf '%s\n' kavlo.exe kavlo-cli.exe README.txt drvidx.bin
  cat "$scratch/scripts.txt"
  (cd "$root/packaging/licenses" && ls *.txt | sed 's|^|licenses/|')
} | sort >"$scratch/zip-expected.txt"
diff -u "$scratch/zip-expected.txt" "$scratch/zip.txt" >&2 ||
  fail "the ZIP's files differ from the programs, device index, scripts and licences of the source tree (- missing, + stray)"
check "ZIP holds the programs, $(wc -l <"$scratch/scripts.txt") script files, README.txt and the licences"

mkdir "$scratch/zip"
(cd "$scratch/zip" && cmake -E tar xf "$zip")
unpacked="$scratch/zip/$top"
# The Windows build's Wine prefix (as tools/test-all.sh makes it), and one Wine
# server for the programs below, ended with the script. Wine's background
# processes start first, so that they do not hold the output a check reads.
export WINEPREFIX="$build/win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1 || true
  wineserver -w || true
fi
wineserver -p || true
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k || true; rm -rf "$scratch"' EXIT
# Statically linked: every DLL the programs import is one that a clean Windows has.
for exe in kavlo.exe kavlo-cli.exe; do
  for dll in $(x86_64-w64-mingw32-objdump -p "$unpacked/$exe" | sed -n 's/^\s*DLL Name: //p'); do
    [ -n "$(find "$WINEPREFIX/drive_c/windows/system32" -maxdepth 1 -iname "$dll" -print -quit)" ] ||
      fail "$exe imports $dll, which Windows does not have"
  done
done
check "kavlo.exe and kavlo-cli.exe import system DLLs only"

got=$(cd "$scratch" && wine "$unpacked/kavlo-cli.exe" --version </dev/null | tr -d '\r')
[ "$got" = "$expected_version" ] || fail "kavlo-cli.exe --version says '$got', not '$expected_version'"
check "kavlo-cli.exe --version: $got"

# The version resources, as the file probe reads them through GetFileVersionInfo.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
cat >"$scratch/versions.dbg" <<EOF
[TITLE LIST] {
Program versions
}
[TITLE] {
Program versions
text
FileInfo:$(windows_path "$unpacked")\kavlo.exe,FNAME,FVERSION,FPRODVERSION
FileInfo:$(windows_path "$unpacked")\kavlo-cli.exe,FNAME,FVERSION,FPRODVERSION
}
EOF
# (Wine's complaints about the volume of drive Z: go to the log.)
versions=$(cd "$scratch" && wine "$unpacked/kavlo-cli.exe" run "$(windows_path "$scratch/versions.dbg")" \
           </dev/null 2>"$scratch/versions-log.txt" | tr -d '\r')
for exe in kavlo.exe kavlo-cli.exe; do
  # a row: name, file version, product version
  grep -qx "$exe"$'\t'"$major\.$minor"$'\t'"$major\.$minor"$'\t' <<<"$versions" ||
    fail "the version resource of $exe does not give $major.$minor:"$'\n'"$versions$(cat "$scratch/versions-log.txt")"
done
check "version resources of both programs: $major.$minor"

# A customer's gather: no arguments but the report's name, started from another
# folder, on the (Wine) machine, with the scripts beside the program.
mkdir "$scratch/customer"
(cd "$scratch/customer" && wine "$unpacked/kavlo-cli.exe" gather -o REPORT.IFO </dev/null \
  >"$scratch/win-gather.txt" 2>"$scratch/win-gather-progress.txt") ||
  { cat "$scratch/win-gather-progress.txt" "$scratch/win-gather.txt" >&2; fail "kavlo-cli.exe gather"; }
tr -d '\r' <"$scratch/win-gather.txt" >"$scratch/win-gather-lf.txt"
grep -q "^Scripts: .*\\\\$top\$" "$scratch/win-gather-lf.txt" ||
  fail "kavlo-cli.exe did not take the scripts beside it: $(grep '^Scripts' "$scratch/win-gather-lf.txt")"
grep -q '^Machine: this computer$' "$scratch/win-gather-lf.txt" || fail "kavlo-cli.exe did not gather this computer"
"$build/native/cli/kavlo" show "$scratch/customer/REPORT.IFO" >/dev/null || fail "the report of kavlo-cli.exe does not read back"
check "kavlo-cli.exe gather under Wine: $(grep -E '^[0-9]+ scripts' "$scratch/win-gather-lf.txt")"

echo "=== packages: Debian package" >&2
dpkg-deb -x "$deb" "$scratch/root"
diff -r "$root/samples/office7" "$scratch/root/usr/share/kavlo/samples/office7" >&2 || fail "the sample machine differs"
diff <(ls "$scratch/root/usr/share/kavlo/scripts" | sort) "$scratch/scripts.txt" >&2 || fail "the scripts differ"
[ -s "$scratch/root/usr/share/man/man1/kavlo.1.gz" ] || fail "no man page"
# Every library the program links comes from a package that Depends names.
depends=$(dpkg-deb -f "$deb" Depends)
for library in $(ldd "$scratch/root/usr/bin/kavlo" | sed -n 's/.*=> \(\/[^ ]*\).*/\1/p'); do
  owner=$(dpkg -S "$library" 2>/dev/null || dpkg -S "$(readlink -f "$library")" 2>/dev/null || dpkg -S "/usr$library" 2>/dev/null) ||
    fail "no package owns $library"
  package=${owner%%:*}
  tr ',' '\n' <<<"$depends" | awk '{ print $1 }' | grep -qxF "$package" ||
    fail "Depends ($depends) lacks $package, which holds $library"
done
check "Depends: $depends"

got=$("$scratch/root/usr/bin/kavlo" --version)
[ "$got" = "$expected_version" ] || fail "kavlo --version says '$got', not '$expected_version'"
check "kavlo --version: $got"

mkdir "$scratch/support"
(cd "$scratch/support" && "$scratch/root/usr/bin/kavlo" gather -o OFFICE7.IFO >"$scratch/deb-gather.txt" 2>/dev/null) ||
  fail "the installed kavlo gather"
grep -qx "Scripts: $scratch/root/usr/share/kavlo/scripts" "$scratch/deb-gather.txt" ||
  fail "the installed kavlo did not take its own scripts: $(grep '^Scripts' "$scratch/deb-gather.txt")"
grep -qx "Machine: $scratch/root/usr/share/kavlo/samples/office7" "$scratch/deb-gather.txt" ||
  fail "the installed kavlo did not take its own sample: $(grep '^Machine' "$scratch/deb-gather.txt")"
"$scratch/root/usr/bin/kavlo" show "$scratch/support/OFFICE7.IFO" >/dev/null || fail "the report does not read back"
check "installed kavlo gather without arguments: $(grep -E '^[0-9]+ scripts' "$scratch/deb-gather.txt")"

echo
ls -l "$zip" "$deb" | awk '{ printf "%s  %d bytes\n", $NF, $5 }'
