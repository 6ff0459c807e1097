#!/bin/sh
# Rebuilds the sample images of the conformance tests from their resource scripts:
#   version_sample.dll  a version resource (FileVersion 1.2.3.4, language 0409, code page 1200)
#   no_version.dll      resources, but no version resource
#   no_resources.dll    no resource section at all
# The images hold no code beyond an entry point that returns TRUE.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out="$here/../conformance/drives/c/Samples"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc=x86_64-w64-mingw32-gcc
rc=x86_64-w64-mingw32-windres
link() { "$cc" -Os -shared -nostdlib -s -Wl,--entry=DllEntry -Wl,--no-insert-timestamp -o "$@"; }
"$rc" -O coff -i "$here/version_sample.rc" -o "$work/version.o"
"$rc" -O coff -i "$here/no_version.rc" -o "$work/data.o"
link "$out/version_sample.dll" "$here/entry.c" "$work/version.o"
link "$out/no_version.dll" "$here/entry.c" "$work/data.o"
link "$out/no_resources.dll" "$here/entry.c"
