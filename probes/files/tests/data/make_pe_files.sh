#!/bin/sh
# Writes the PE files with version resources of the file-probe test machine.
set -e
here=$(cd "$(dirname "$0")" && pwd)
pe="$here/../../../../tools/make_sample_pe.py"
sys32="$here/machine/drives/c/WINNT/System32"
mkdir -p "$sys32/drivers"
python3 "$pe" --dll --output "$sys32/acmever.dll" --file-version "5, 0, 2, 1" --product-version "5, 0" \
    --company "Acme Corp" --description "Acme helper, shared" --product "Acme Tools" --comments "for tests"
python3 "$pe" --dll --output "$sys32/oldver.dll" --no-translation --string-table 040904e4 \
    --file-version "4, 0, 0, 950" --company "Old Corp"
python3 "$pe" --dll --output "$sys32/german.dll" --string-table 040704b0 --file-version "1,2" --company "Deutsch GmbH"
python3 "$pe" --driver --output "$sys32/drivers/acme.sys" --file-version "2.0.1" --description "Acme filter driver"
