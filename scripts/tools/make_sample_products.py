#!/usr/bin/env python3
"""Writes the maker's three products into the sample machine samples/office7,
with the hardware, network, service and security settings the bundled scripts
look at.

The output is committed; run this again after changing it:

    python3 scripts/tools/make_sample_products.py

It writes the products' registry files (registry/50-*.reg and up), the event
logs with their sources' message files (sample_content/event_logs), their
program files (small PE images with real version resources, made by
tools/make_sample_pe.py), logs, settings, caller and option files, the
definition files and the start-up shortcut. Everything it writes is listed in
OWNED so that a rerun first removes what an older version wrote.
"""

import os
import shutil
import sys

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__

from sample_content.event_logs import OWNED as EVENT_LOG_FILES, event_logs
from sample_content.layout import FILE_TIMES, SAMPLE
from sample_content.product_files import ostrell_logs, mirrolet_data, fernway_data, program_files, startup_folder
from sample_content.product_registry import fernway_registry, mirrolet_registry, ostrell_registry
from sample_content.system_registry import (hardware_registry, network_registry, services_registry,
                                            user_and_security_registry)

# Paths below samples/office7 that this script owns and rewrites.
OWNED = [
    "registry/50-ostrell.reg",
    "registry/51-mirrolet.reg",
    "registry/52-fernway.reg",
    "registry/60-hardware.reg",
    "registry/61-network.reg",
    "registry/62-services.reg",
    "registry/63-user-and-security.reg",
    "drives/c/Program Files/Quorvane/Ostrell AntiVirus",
    "drives/c/Program Files/Quorvane/MIRROLET",
    "drives/c/Program Files/Quorvane/Fernway",
    "drives/c/Program Files/Quorvane/KAVLO/kavlo.exe",
    "drives/c/Program Files/Quorvane/KAVLO/gzip.exe",
    "drives/c/Program Files/Common Files/Quorvane",
    "drives/c/Documents and Settings/All Users/Application Data/Quorvane/Ostrell AntiVirus Corporate Edition",
    "drives/c/Documents and Settings/All Users/Application Data/Quorvane/MIRROLET",
    "drives/c/Documents and Settings/All Users/Application Data/Quorvane/Fernway",
    "drives/c/Documents and Settings/All Users/Start Menu/Programs/Startup/MIRROLET Host.lnk",
] + EVENT_LOG_FILES

MACHINE_INI_MARKER = "; ---- Product files: written by scripts/tools/make_sample_products.py, do not edit below ----"



def file_sections():
    """[file] sections with the times of every file written and of its folders (a
    folder takes the time of its newest file)."""
    times = dict(FILE_TIMES)
    for path, when in FILE_TIMES.items():
        folder = path.rsplit("\\", 1)[0]
        while folder.count("\\") >= 2 and not folder.upper().endswith(("\\PROGRAM FILES",
                                                                       "\\COMMON FILES", "\\APPLICATION DATA",
                                                                       "\\STARTUP", "\\SYSTEM32")):
            times[folder] = max(times.get(folder, when), when)
            folder = folder.rsplit("\\", 1)[0]
    lines = [MACHINE_INI_MARKER, ""]
    for path in sorted(times, key=str.lower):
        lines += ["[file %s]" % path, "modified = %s" % times[path].strftime("%Y-%m-%d %H:%M:%S"), ""]
    return "\n".join(lines)


def update_machine_ini():
    """Rewrites the product block at the end of machine.ini, when machine.ini has its marker line."""
    ini = os.path.join(SAMPLE, "machine.ini")
    with open(ini, "rb") as f:
        text = f.read().decode("cp1252")
    at = text.find(MACHINE_INI_MARKER)
    if at < 0:
        print("machine.ini has no product block; its file times are:\n\n" + file_sections(), file=sys.stderr)
        return
    newline = "\r\n" if "\r\n" in text else "\n"
    block = file_sections().replace("\n", newline)
    with open(ini, "wb") as f:
        f.write((text[:at] + block).encode("cp1252"))


def main():
    for rel in OWNED:
        path = os.path.join(SAMPLE, *rel.split("/"))
        if os.path.isdir(path):
            shutil.rmtree(path)
        elif os.path.exists(path):
            os.remove(path)
    ostrell_registry()
    mirrolet_registry()
    fernway_registry()
    hardware_registry()
    network_registry()
    services_registry()
    user_and_security_registry()
    ostrell_logs()
    mirrolet_data()
    fernway_data()
    startup_folder()
    program_files()
    event_logs()
    update_machine_ini()


if __name__ == "__main__":
    main()

